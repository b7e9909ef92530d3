#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <vector>

#include "data/RowFrameCodec.h"

namespace {

using FrameType = RowFrameCodec::FrameType;

std::string RowsFrame(const std::vector<std::optional<std::string>>& values) {
    std::string out;
    std::size_t start = RowFrameCodec::BeginFrame(out, FrameType::Rows);
    RowFrameCodec::PutU32(out, 1);
    for (const auto& value : values) {
        if (value)
            RowFrameCodec::PutValue(out, *value);
        else
            RowFrameCodec::PutNull(out);
    }
    RowFrameCodec::EndFrame(out, start);
    return out;
}

TEST(RowFrameCodec, ValuesSurviveTheRoundTripWithNullKeptApartFromEmpty) {
    std::string bytes = RowsFrame({std::string("PA3ABC"), std::string(), std::nullopt, std::string("a\0b", 3),
                                   std::string(300, 'x')});
    RowFrameCodec::Frame frame;
    ASSERT_TRUE(RowFrameCodec::TakeFrame(bytes, frame));
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(frame.type, FrameType::Rows);
    RowFrameCodec::Reader reader(frame.payload);
    EXPECT_EQ(reader.U32(), 1u);
    std::string value;
    EXPECT_TRUE(reader.Value(value));
    EXPECT_EQ(value, "PA3ABC");
    EXPECT_TRUE(reader.Value(value)) << "an empty text is a value, not NULL";
    EXPECT_EQ(value, "");
    EXPECT_FALSE(reader.Value(value)) << "NULL";
    EXPECT_TRUE(reader.Value(value));
    EXPECT_EQ(value, std::string("a\0b", 3)) << "embedded zero bytes are kept";
    EXPECT_TRUE(reader.Value(value));
    EXPECT_EQ(value.size(), 300u) << "lengths above 255 are not cut";
    EXPECT_TRUE(reader.AtEnd());
}

TEST(RowFrameCodec, FramesArrivingInPiecesAreTakenOnlyWhenWhole) {
    std::string whole;
    RowFrameCodec::PutFrame(whole, FrameType::Error, "The table [X] does not exist.");
    RowFrameCodec::PutFrame(whole, FrameType::Done, "");
    std::string buffer;
    RowFrameCodec::Frame frame;
    std::vector<FrameType> seen;
    for (char byte : whole) {
        buffer.push_back(byte);
        while (RowFrameCodec::TakeFrame(buffer, frame)) seen.push_back(frame.type);
    }
    EXPECT_EQ(seen, (std::vector<FrameType>{FrameType::Error, FrameType::Done}));
}

TEST(RowFrameCodec, GarbageIsRefusedRatherThanTakenForAFrame) {
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"unknown type byte", std::string("X\0\0\0\0", 5)},
        {"length beyond any sound frame", std::string("R\xff\xff\xff\x7f", 5)},
    };
    for (const Case& c : cases) {
        std::string buffer = c.bytes;
        RowFrameCodec::Frame frame;
        EXPECT_THROW(RowFrameCodec::TakeFrame(buffer, frame), std::runtime_error) << c.name;
    }
}

}  // namespace
