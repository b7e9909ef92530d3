#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <thread>

#include "data/CDaoException.h"
#include "data/MdbChildProcess.h"
#include "data/MdbRowCursor.h"
#include "data/RowFrameCodec.h"

// The reader process can fail in every way a library can: these bodies play the part of
// libmdb misbehaving, and each must end as a "damaged" error of ours.

namespace {

using FrameType = RowFrameCodec::FrameType;
using namespace std::chrono_literals;

constexpr std::size_t kMemory = std::size_t{1} << 30;
const std::string kPath = "/logs/Qervel.mdb";

std::string Opened(uint32_t rows, uint32_t values) {
    std::string payload;
    RowFrameCodec::PutU32(payload, rows);
    RowFrameCodec::PutU32(payload, values);
    std::string frame;
    RowFrameCodec::PutFrame(frame, FrameType::Opened, payload);
    return frame;
}

std::string OneRow(const std::string& value) {
    std::string frame;
    std::size_t start = RowFrameCodec::BeginFrame(frame, FrameType::Rows);
    RowFrameCodec::PutU32(frame, 1);
    RowFrameCodec::PutValue(frame, value);
    RowFrameCodec::EndFrame(frame, start);
    return frame;
}

std::string Done(uint32_t rows) {
    std::string payload;
    RowFrameCodec::PutU32(payload, rows);
    std::string frame;
    RowFrameCodec::PutFrame(frame, FrameType::Done, payload);
    return frame;
}

std::unique_ptr<MdbRowCursor> Start(std::function<int(int)> body, std::chrono::milliseconds timeout = 2000ms) {
    return std::make_unique<MdbRowCursor>(std::make_unique<MdbChildProcess>(body, kMemory), kPath, timeout);
}

// Reads the cursor to its end and returns the error text, or "" when it ended cleanly.
std::string Drain(std::function<int(int)> body, std::chrono::milliseconds timeout = 2000ms) {
    try {
        auto cursor = Start(std::move(body), timeout);
        std::vector<std::string> values;
        while (cursor->Next(values)) {
        }
    } catch (const CDaoException& e) {
        return e.what();
    }
    return "";
}

TEST(MdbRowCursor, EveryWayTheReaderCanFailIsADamagedDatabase) {
    struct Case {
        const char* name;
        std::function<int(int)> body;
    };
    const Case cases[] = {
        {"crash before the first frame", [](int) { ::raise(SIGSEGV); return 0; }},
        {"crash in the middle of the rows",
         [](int fd) {
             MdbChildProcess::WriteAll(fd, Opened(2, 1) + OneRow("a"));
             ::raise(SIGSEGV);
             return 0;
         }},
        {"abort, as glib does when memory runs out", [](int) { std::abort(); return 0; }},
        {"silent endless loop",
         [](int) {
             for (;;) std::this_thread::sleep_for(1s);
             return 0;
         }},
        {"exit without a word", [](int) { return 0; }},
        {"non-zero exit after all rows",
         [](int fd) {
             MdbChildProcess::WriteAll(fd, Opened(1, 1) + OneRow("a") + Done(1));
             return 3;
         }},
        {"garbage instead of frames",
         [](int fd) {
             MdbChildProcess::WriteAll(fd, "Standard Jet DB garbage on stdout");
             return 0;
         }},
        {"rows before the table was opened",
         [](int fd) {
             MdbChildProcess::WriteAll(fd, OneRow("a") + Done(1));
             return 0;
         }},
        {"more memory than the limit allows",
         [](int) {
             std::size_t size = std::size_t{2} << 30;
             void* p = std::malloc(size);
             if (!p) std::abort();
             std::memset(p, 1, size);
             return 0;
         }},
    };
    for (const Case& c : cases) {
        std::string error = Drain(c.body, 300ms);
        EXPECT_NE(error.find("'" + kPath + "' is damaged"), std::string::npos) << c.name << ": " << error;
        EXPECT_NE(error.find("compact/repair"), std::string::npos) << c.name << ": " << error;
    }
}

TEST(MdbRowCursor, ErrorsTheReaderReportsArriveAsTheyStand) {
    const std::string text = "The table [QSO-TAB] does not exist in '/logs/Qervel.mdb'.";
    EXPECT_EQ(Drain([&](int fd) {
                  std::string frame;
                  RowFrameCodec::PutFrame(frame, FrameType::Error, text);
                  MdbChildProcess::WriteAll(fd, frame);
                  return 0;
              }),
              text);
    EXPECT_EQ(Drain([&](int fd) {
                  std::string frame = Opened(2, 1) + OneRow("a");
                  RowFrameCodec::PutFrame(frame, FrameType::Error, text);
                  MdbChildProcess::WriteAll(fd, frame);
                  return 0;
              }),
              text)
        << "an error after some rows";
}

TEST(MdbRowCursor, SlowButSteadyReaderIsNotCutOff) {
    // Silence is measured between arrivals, not over the whole read.
    auto body = [](int fd) {
        MdbChildProcess::WriteAll(fd, Opened(4, 1));
        for (int i = 0; i < 4; ++i) {
            std::this_thread::sleep_for(150ms);
            MdbChildProcess::WriteAll(fd, OneRow(std::to_string(i)));
        }
        MdbChildProcess::WriteAll(fd, Done(4));
        return 0;
    };
    auto cursor = Start(body, 400ms);
    std::vector<std::string> values;
    std::vector<std::string> seen;
    while (cursor->Next(values)) seen.push_back(values.at(0));
    EXPECT_EQ(seen, (std::vector<std::string>{"0", "1", "2", "3"}));
    EXPECT_EQ(cursor->RowCount(), 4);
}

TEST(MdbRowCursor, DestroyingTheCursorEarlyStopsABlockedReader) {
    {
        auto cursor = Start([](int fd) {
            MdbChildProcess::WriteAll(fd, Opened(0, 1));
            for (;;) std::this_thread::sleep_for(1s);
            return 0;
        });
    }
    // Had the destructor waited for the reader, the test would not get here; had it not
    // reaped it, the reader would still be our child.
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
}

}  // namespace
