#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "data/MdbChildProcess.h"
#include "data/MdbRowCursor.h"
#include "data/RowFrameCodec.h"
#include "data/WriteAll.h"

// The rows on their way from the reader to the recordset: taken out of the pipe's bytes
// where they arrived, and lent to the caller without a copy.

namespace {

using FrameType = RowFrameCodec::FrameType;
using Row = std::vector<std::optional<std::string>>;  // nullopt: NULL

std::string Values(const Row& row) {
    std::string out;
    for (const auto& value : row) value ? RowFrameCodec::PutValue(out, *value) : RowFrameCodec::PutNull(out);
    return out;
}

// Rows sent through a real pipe in pieces of every size come out whole and in order:
// nothing lost or doubled when the cursor moves the unread rest of its block
// back, nor when a frame larger than the block makes it grow.
TEST(RowStream, RowsComeOutWholeHoweverTheyArrive) {
    struct Case {
        const char* what;
        int rows;
        int rowsPerFrame;
        std::size_t longest;  // longest value
        std::size_t piece;    // bytes per write of the reader
    };
    const std::vector<Case> cases = {
        {"a byte at a time", 20, 3, 40, 1},
        {"odd pieces", 300, 7, 300, 4093},
        {"many frames, written whole", 5000, 64, 200, std::string::npos},
        {"a frame of several megabytes", 40, 40, 200000, 65539},
    };
    for (const Case& c : cases) {
        std::mt19937 random(static_cast<unsigned>(c.rows));
        std::vector<Row> rows;
        for (int i = 0; i < c.rows; ++i) {
            Row row;
            for (int v = 0; v < 3; ++v) {
                if (random() % 5 == 0) {
                    row.push_back(std::nullopt);
                } else {
                    row.push_back(std::string(random() % (c.longest + 1), static_cast<char>('a' + (i + v) % 26)));
                }
            }
            rows.push_back(row);
        }
        std::string stream;
        std::string payload;
        RowFrameCodec::PutU32(payload, static_cast<uint32_t>(c.rows));
        RowFrameCodec::PutU32(payload, 3);
        RowFrameCodec::PutFrame(stream, FrameType::Opened, payload);
        for (int first = 0; first < c.rows; first += c.rowsPerFrame) {
            const int count = std::min(c.rowsPerFrame, c.rows - first);
            payload.clear();
            RowFrameCodec::PutU32(payload, static_cast<uint32_t>(count));
            for (int i = first; i < first + count; ++i) payload += Values(rows[static_cast<std::size_t>(i)]);
            RowFrameCodec::PutFrame(stream, FrameType::Rows, payload);
        }
        payload.clear();
        RowFrameCodec::PutU32(payload, static_cast<uint32_t>(c.rows));
        RowFrameCodec::PutFrame(stream, FrameType::Done, payload);

        const std::size_t piece = c.piece;
        MdbRowCursor cursor(std::make_unique<MdbChildProcess>(
                                [stream, piece](int fd) {
                                    for (std::size_t at = 0; at < stream.size(); at += piece)
                                        if (!WriteAll(fd, std::string_view(stream).substr(at, piece))) return 1;
                                    return 0;
                                },
                                std::size_t{1} << 30),
                            "/logs/Qervel.mdb", std::chrono::seconds(30));
        std::vector<std::string_view> lent;
        for (int read = 0; read < c.rows; ++read) {
            const Row& row = rows[static_cast<std::size_t>(read)];
            ASSERT_TRUE(cursor.NextViews(lent)) << c.what << ": row " << read;
            ASSERT_EQ(lent.size(), row.size()) << c.what;
            for (std::size_t v = 0; v < row.size(); ++v) {
                EXPECT_EQ(cursor.WasNull(v), !row[v]) << c.what << ": row " << read;
                EXPECT_EQ(lent[v], row[v].value_or("")) << c.what << ": row " << read << " value " << v;
            }
        }
        EXPECT_FALSE(cursor.NextViews(lent)) << c.what << ": rows after the last";
    }
}

}  // namespace
