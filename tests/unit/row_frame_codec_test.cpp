#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <vector>

#include "data/RowFrameCodec.h"

namespace {

using FrameType = RowFrameCodec::FrameType;

TEST(RowFrameCodec, FramesArrivingByteByByteComeOutWholeWithNullApartFromEmpty) {
    const std::vector<std::optional<std::string>> sent{std::string("PA3ABC"), std::string(), std::nullopt,
                                                       std::string("a\0b", 3), std::string(70000, 'x')};
    std::string stream;
    std::size_t start = RowFrameCodec::BeginFrame(stream, FrameType::Rows);
    for (const auto& value : sent) value ? RowFrameCodec::PutValue(stream, *value) : RowFrameCodec::PutNull(stream);
    RowFrameCodec::EndFrame(stream, start);
    RowFrameCodec::PutFrame(stream, FrameType::Done, "");

    std::string buffer;
    std::vector<RowFrameCodec::Frame> frames;
    RowFrameCodec::Frame frame;
    for (char byte : stream) {
        buffer.push_back(byte);
        while (RowFrameCodec::TakeFrame(buffer, frame)) frames.push_back(frame);
    }
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[1].type, FrameType::Done);
    RowFrameCodec::Reader reader(frames[0].payload);
    std::vector<std::optional<std::string>> received;
    for (std::string value; received.size() < sent.size();)
        received.push_back(reader.Value(value) ? std::optional<std::string>(value) : std::nullopt);
    EXPECT_EQ(received, sent);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_THROW(reader.U32(), std::runtime_error) << "reading past the payload";
}

TEST(RowFrameCodec, GarbageIsRefusedRatherThanTakenForAFrame) {
    for (std::string garbage : {std::string("X\0\0\0\0", 5), std::string("R\xff\xff\xff\x7f", 5)}) {
        RowFrameCodec::Frame frame;
        EXPECT_THROW(RowFrameCodec::TakeFrame(garbage, frame), std::runtime_error) << garbage;
    }
}

}  // namespace
