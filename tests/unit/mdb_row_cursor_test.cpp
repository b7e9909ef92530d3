#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <cstdlib>
#include <thread>

#include "data/CDaoException.h"
#include "data/MdbChildProcess.h"
#include "data/MdbMessages.h"
#include "data/MdbRowCursor.h"
#include "data/RowFrameCodec.h"

// The reader process can fail in every way a library can: these bodies play the part of
// libmdb misbehaving, and each must end as an error of ours, never as a crash or a hang.

namespace {

using FrameType = RowFrameCodec::FrameType;
using namespace std::chrono_literals;
using Body = std::function<int(int)>;

const std::string kPath = "/logs/Qervel.mdb";
const std::string kDamaged = "'" + kPath + "' is damaged";

std::string Frame(FrameType type, std::vector<uint32_t> numbers, const std::string& value = "") {
    std::string payload;
    for (uint32_t n : numbers) RowFrameCodec::PutU32(payload, n);
    if (type == FrameType::Rows && !value.empty()) RowFrameCodec::PutValue(payload, value);  // else rows of no values
    if (type == FrameType::Error) payload = RowFrameCodec::ErrorPayload(MdbMessages::MissingTable(kPath, value));
    std::string frame;
    RowFrameCodec::PutFrame(frame, type, payload);
    return frame;
}
const std::string kOpened = Frame(FrameType::Opened, {2, 1});
const std::string kRow = Frame(FrameType::Rows, {1}, "a");
const std::string kDone = Frame(FrameType::Done, {2});

Body Sends(std::string bytes, int status = 0) {
    return [=](int fd) { return MdbChildProcess::WriteAll(fd, bytes) ? status : 9; };
}

std::unique_ptr<MdbRowCursor> Start(Body body, std::chrono::milliseconds timeout) {
    return std::make_unique<MdbRowCursor>(std::make_unique<MdbChildProcess>(body, std::size_t{1} << 30), kPath,
                                          timeout);
}

TEST(MdbRowCursor, EveryWayTheReaderCanFailEndsInAnErrorOfOursButSlownessDoesNot) {
    const std::string missing = "The table [QSO-TAB] does not exist in '/logs/Qervel.mdb'.";
    struct Case {
        const char* name;
        Body body;
        std::string expected;  // a piece of the error text; "" for a clean end
    };
    const Case cases[] = {
        {"slow but steady rows: silence counts between arrivals, not over the whole read",
         [](int fd) {
             bool sent = MdbChildProcess::WriteAll(fd, Frame(FrameType::Opened, {4, 1}));
             for (int i = 0; i < 4; ++i) {
                 std::this_thread::sleep_for(150ms);
                 sent = sent && MdbChildProcess::WriteAll(fd, kRow);
             }
             return sent && MdbChildProcess::WriteAll(fd, Frame(FrameType::Done, {4})) ? 0 : 9;
         },
         ""},
        {"crash before the first frame", [](int) { return ::raise(SIGSEGV); }, kDamaged},
        {"crash in the middle of the rows",
         [](int fd) { return MdbChildProcess::WriteAll(fd, kOpened + kRow) + ::raise(SIGSEGV); }, kDamaged},
        {"silent endless loop",
         [](int) -> int {
             for (;;) std::this_thread::sleep_for(1s);
         },
         kDamaged + " (reading made no progress"},
        {"exit without a word", Sends(""), kDamaged},
        {"non-zero exit after all rows", Sends(kOpened + kRow + kRow + kDone, 3), "status 3"},
        {"garbage instead of frames", Sends("Standard Jet DB garbage on stdout"), kDamaged},
        {"rows before the table was opened", Sends(kRow + kDone), kDamaged},
        {"more rows than the table announced: rows of no values cost no bytes, a garbled count is millions",
         Sends(Frame(FrameType::Opened, {1, 0}) + Frame(FrameType::Rows, {1u << 24}) + kDone),
         kDamaged + " (the reader sent more rows than the table announces"},
        {"more rows announced than an Access file holds: a garbled count",
         Sends(Frame(FrameType::Opened, {(1u << 27) + 1, 1}) + kRow + kDone),
         kDamaged + " (the table announces 134217729 rows"},
        {"rows of 256 values, more than a table has: a garbled count would claim gigabytes",
         Sends(Frame(FrameType::Opened, {1, 256}) + kDone), kDamaged + " (the reader announced 256 values a row"},
        {"more memory than the limit allows, before rows that would be sound",
         [](int fd) {
             // The address space is what is limited, so the allocation itself fails. Held
             // in a volatile, or clang drops an allocation that nothing uses.
             void* volatile block = std::malloc(std::size_t{2} << 30);
             if (!block) std::abort();
             return Sends(kOpened + kRow + kRow + kDone)(fd);
         },
         kDamaged},
        {"an error it reports before opening", Sends(Frame(FrameType::Error, {}, "QSO-TAB")), missing},
        {"an error it reports after some rows", Sends(kOpened + kRow + Frame(FrameType::Error, {}, "QSO-TAB")),
         missing},
        {"an error frame that is not one of ours", Sends(kOpened + "E" + std::string("\3\0\0\0xyz", 7)), kDamaged},
    };
    for (const Case& c : cases) {
        std::string error;
        try {
            auto cursor = Start(c.body, 300ms);
            for (std::vector<std::string> values; cursor->Next(values);) {}
        } catch (const CDaoException& e) {
            error = e.what();
        }
        EXPECT_EQ(error.empty(), c.expected.empty()) << c.name << ": " << error;
        EXPECT_NE(error.find(c.expected), std::string::npos) << c.name << ": " << error;
        if (c.expected.find("damaged") != std::string::npos) {
            EXPECT_NE(error.find("compact/repair"), std::string::npos) << c.name << ": " << error;
        }
    }
}

TEST(MdbRowCursor, DestroyingTheCursorEarlyStopsABlockedReader) {
    Start(
        [](int fd) -> int {
            MdbChildProcess::WriteAll(fd, kOpened + kRow);
            for (;;) std::this_thread::sleep_for(1s);
        },
        30s);
    // Had the destructor waited for the reader, the test would not get here; had it not
    // reaped it, the reader would still be our child.
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
}

}  // namespace
