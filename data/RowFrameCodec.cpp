#include "data/RowFrameCodec.h"

#include <stdexcept>

namespace {

uint32_t LoadU32(const char* p) {
    auto b = [p](int i) { return static_cast<uint32_t>(static_cast<unsigned char>(p[i])); };
    return b(0) | (b(1) << 8) | (b(2) << 16) | (b(3) << 24);
}

void StoreU32(char* p, uint32_t value) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<char>((value >> (8 * i)) & 0xFFu);
}

bool KnownType(char type) {
    using T = RowFrameCodec::FrameType;
    return type == static_cast<char>(T::Opened) || type == static_cast<char>(T::Rows) ||
           type == static_cast<char>(T::Error) || type == static_cast<char>(T::Done);
}

}  // namespace

void RowFrameCodec::PutU32(std::string& out, uint32_t value) {
    char bytes[4];
    StoreU32(bytes, value);
    out.append(bytes, 4);
}

void RowFrameCodec::PutValue(std::string& out, std::string_view value) {
    PutU32(out, static_cast<uint32_t>(value.size()));
    out.append(value);
}

void RowFrameCodec::PutNull(std::string& out) { PutU32(out, kNull); }

std::size_t RowFrameCodec::BeginFrame(std::string& out, FrameType type) {
    std::size_t start = out.size();
    out.push_back(static_cast<char>(type));
    PutU32(out, 0);
    return start;
}

void RowFrameCodec::EndFrame(std::string& out, std::size_t start) {
    StoreU32(&out[start + 1], static_cast<uint32_t>(out.size() - start - kHeaderSize));
}

void RowFrameCodec::PutFrame(std::string& out, FrameType type, std::string_view payload) {
    std::size_t start = BeginFrame(out, type);
    out.append(payload);
    EndFrame(out, start);
}

bool RowFrameCodec::TakeFrame(std::string& buffer, Frame& frame) {
    if (buffer.size() < kHeaderSize) return false;
    if (!KnownType(buffer[0])) throw std::runtime_error("unknown frame type");
    std::size_t length = LoadU32(buffer.data() + 1);
    if (length > kMaxPayload) throw std::runtime_error("frame too large");
    if (buffer.size() < kHeaderSize + length) return false;
    frame.type = static_cast<FrameType>(buffer[0]);
    frame.payload.assign(buffer, kHeaderSize, length);
    buffer.erase(0, kHeaderSize + length);
    return true;
}

uint32_t RowFrameCodec::Reader::U32() {
    if (m_data.size() - m_pos < 4) throw std::runtime_error("frame cut short");
    uint32_t value = LoadU32(m_data.data() + m_pos);
    m_pos += 4;
    return value;
}

bool RowFrameCodec::Reader::Value(std::string& value) {
    uint32_t length = U32();
    if (length == kNull) {
        value.clear();
        return false;
    }
    if (m_data.size() - m_pos < length) throw std::runtime_error("value cut short");
    value.assign(m_data.data() + m_pos, length);
    m_pos += length;
    return true;
}

std::string RowFrameCodec::ErrorPayload(const CDaoException& error) {
    std::string payload;
    PutU32(payload, static_cast<uint32_t>(error.GetKind()));
    PutValue(payload, error.Path());
    PutValue(payload, error.Reason());
    PutValue(payload, error.what());
    return payload;
}

CDaoException RowFrameCodec::ErrorFromPayload(std::string_view payload) {
    Reader reader(payload);
    const uint32_t kind = reader.U32();
    if (kind > static_cast<uint32_t>(CDaoException::Kind::Other)) throw std::runtime_error("unknown error kind");
    std::string path, reason, description;
    reader.Value(path);
    reader.Value(reason);
    reader.Value(description);
    if (!reader.AtEnd()) throw std::runtime_error("error frame too long");
    return CDaoException(static_cast<CDaoException::Kind>(kind), std::move(path), std::move(reason), description);
}
