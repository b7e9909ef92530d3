#include "data/RowFrameCodec.h"

#include <cstring>
#include <stdexcept>

namespace {

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

// A row is sent for every contact: its room is made once and filled, rather than grown
// by two appends a value.
void RowFrameCodec::PutRow(std::string& out, const std::vector<std::string_view>& values,
                           const std::vector<char>& isNull) {
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < values.size(); ++i) bytes += 4 + (isNull[i] ? 0 : values[i].size());
    std::size_t at = out.size();
    out.resize(at + bytes);
    char* p = out.data() + at;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (isNull[i]) {
            StoreU32(p, kNull);
            p += 4;
            continue;
        }
        StoreU32(p, static_cast<uint32_t>(values[i].size()));
        p += 4;
        if (!values[i].empty()) std::memcpy(p, values[i].data(), values[i].size());
        p += values[i].size();
    }
}

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

std::optional<RowFrameCodec::FrameView> RowFrameCodec::PeekFrame(std::string_view bytes) {
    if (bytes.size() < kHeaderSize) return std::nullopt;
    if (!KnownType(bytes[0])) throw std::runtime_error("unknown frame type");
    std::size_t length = LoadU32(bytes.data() + 1);
    if (length > kMaxPayload) throw std::runtime_error("frame too large");
    if (bytes.size() < kHeaderSize + length) return std::nullopt;
    return FrameView{static_cast<FrameType>(bytes[0]), bytes.substr(kHeaderSize, length)};
}

bool RowFrameCodec::TakeFrame(std::string& buffer, Frame& frame) {
    std::optional<FrameView> view = PeekFrame(buffer);
    if (!view) return false;
    frame.type = view->type;
    frame.payload.assign(view->payload);
    buffer.erase(0, view->Size());
    return true;
}

bool RowFrameCodec::Reader::Value(std::string& value) {
    std::string_view seen;
    const bool present = Value(seen);
    value.assign(seen);
    return present;
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
