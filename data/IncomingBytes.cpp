#include "data/IncomingBytes.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

void IncomingBytes::Take(std::size_t count) {
    if (count > m_end - m_begin) throw std::logic_error("more bytes taken than have come");
    m_begin += count;
    // All taken: the next read starts at the front again, with nothing to move.
    if (m_begin == m_end) m_begin = m_end = 0;
}

std::span<char> IncomingBytes::Room(std::size_t wanted) {
    const std::size_t unread = m_end - m_begin;
    if (m_capacity - m_end < wanted) {
        if (m_capacity - unread >= wanted) {
            std::memmove(m_data.get(), m_data.get() + m_begin, unread);
        } else {
            const std::size_t capacity = std::max(2 * m_capacity, unread + wanted);
            std::unique_ptr<char[]> larger = std::make_unique_for_overwrite<char[]>(capacity);
            if (unread > 0) std::memcpy(larger.get(), m_data.get() + m_begin, unread);
            m_data = std::move(larger);
            m_capacity = capacity;
        }
        m_begin = 0;
        m_end = unread;
    }
    return {m_data.get() + m_end, m_capacity - m_end};
}

void IncomingBytes::Filled(std::size_t count) {
    if (count > m_capacity - m_end) throw std::logic_error("a read filled more than its room");
    m_end += count;
}
