#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string_view>

// The bytes read from the reader's pipe that have not been taken yet, in one block that
// reads fill at its end and frames are taken from at its front, where they lie. What is
// left is moved back to the start only when the end has no room for the next read, so a
// byte is rarely moved at all, and the room a read fills is never cleared before.
class IncomingBytes {
public:
    // capacity: the block's first size; it grows when a frame needs more.
    explicit IncomingBytes(std::size_t capacity)
        : m_data(std::make_unique_for_overwrite<char[]>(capacity)), m_capacity(capacity) {}

    // The bytes not yet taken.
    std::string_view Unread() const { return {m_data.get() + m_begin, m_end - m_begin}; }
    // Takes count bytes off the front; views of them stay valid until the next Room.
    void Take(std::size_t count);
    // Room for at least `wanted` bytes after the unread ones, for a read to fill.
    std::span<char> Room(std::size_t wanted);
    // After a read: count bytes of the room are filled.
    void Filled(std::size_t count);

private:
    std::unique_ptr<char[]> m_data;
    std::size_t m_capacity = 0;
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
};
