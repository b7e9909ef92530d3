#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "data/CDaoException.h"

// The framing between the reader process and its parent. A frame is one type byte, a
// 32-bit little-endian payload length and the payload. Values are a 32-bit length and
// their bytes; the length kNull marks NULL.
//
//   Opened  u32 rows the table definition announces, u32 values per row
//   Rows    u32 row count, then that many rows of values
//   Error   u32 kind, then three values: file, reason, the text to show as it stands
//   Done    u32 rows sent
class RowFrameCodec {
public:
    enum class FrameType : char { Opened = 'O', Rows = 'R', Error = 'E', Done = 'D' };
    static constexpr uint32_t kNull = 0xFFFFFFFFu;
    static constexpr std::size_t kHeaderSize = 5;
    // Larger frames are taken for garbage: no sound row comes near this.
    static constexpr std::size_t kMaxPayload = 512u * 1024u * 1024u;

    struct Frame {
        FrameType type = FrameType::Done;
        std::string payload;
    };
    // A frame seen where its bytes lie.
    struct FrameView {
        FrameType type = FrameType::Done;
        std::string_view payload;
        std::size_t Size() const { return kHeaderSize + payload.size(); }
    };

    static void PutU32(std::string& out, uint32_t value);
    static void PutValue(std::string& out, std::string_view value);
    static void PutNull(std::string& out);
    // The values of one row, NULL where isNull says so: what PutValue and PutNull give for
    // each, made in one piece.
    static void PutRow(std::string& out, const std::vector<std::string_view>& values, const std::vector<char>& isNull);

    // Starts a frame in out and returns where it starts; EndFrame fills in its length
    // once the payload has been appended.
    static std::size_t BeginFrame(std::string& out, FrameType type);
    static void EndFrame(std::string& out, std::size_t start);
    static void PutFrame(std::string& out, FrameType type, std::string_view payload);

    // An error's payload and the error it stands for, kind, file and reason kept.
    static std::string ErrorPayload(const CDaoException& error);
    // Throws std::runtime_error when the payload is not one that ErrorPayload makes.
    static CDaoException ErrorFromPayload(std::string_view payload);

    // The first whole frame at the front of bytes, without copying it; nullopt when more
    // bytes are needed. Throws std::runtime_error on a frame that cannot be one of ours.
    static std::optional<FrameView> PeekFrame(std::string_view bytes);
    // Takes the first whole frame off the front of buffer, as PeekFrame finds it. False
    // when more bytes are needed.
    static bool TakeFrame(std::string& buffer, Frame& frame);

    // Reads a payload front to back. Throws std::runtime_error when it runs short.
    class Reader {
    public:
        explicit Reader(std::string_view payload) : m_data(payload) {}
        uint32_t U32();
        // Returns false for NULL (value is then cleared).
        bool Value(std::string& value);
        // The same, the value seen in the payload.
        bool Value(std::string_view& value);
        bool AtEnd() const { return m_pos == m_data.size(); }

    private:
        std::string_view m_data;
        std::size_t m_pos = 0;
    };

private:
    // The 32-bit little-endian number at p.
    static uint32_t LoadU32(const char* p) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(p);
        return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[3]} << 24;
    }
};

// Called for every value of every row, so defined where the cursor's loop can take them in.
inline uint32_t RowFrameCodec::Reader::U32() {
    if (m_data.size() - m_pos < 4) throw std::runtime_error("frame cut short");
    const uint32_t value = LoadU32(m_data.data() + m_pos);
    m_pos += 4;
    return value;
}

inline bool RowFrameCodec::Reader::Value(std::string_view& value) {
    uint32_t length = U32();
    if (length == kNull) {
        value = {};
        return false;
    }
    if (m_data.size() - m_pos < length) throw std::runtime_error("value cut short");
    value = m_data.substr(m_pos, length);
    m_pos += length;
    return true;
}
