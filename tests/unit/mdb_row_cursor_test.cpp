#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <time.h>

#include <glib.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "data/CDaoException.h"
#include "data/MdbChildProcess.h"
#include "data/MdbMessages.h"
#include "data/MdbRowCursor.h"
#include "data/RowFrameCodec.h"
#include "data/WriteAll.h"

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
    return [=](int fd) { return WriteAll(fd, bytes) ? status : 9; };
}

std::unique_ptr<MdbRowCursor> Start(Body body, std::chrono::milliseconds timeout) {
    return std::make_unique<MdbRowCursor>(std::make_unique<MdbChildProcess>(body, std::size_t{1} << 30), kPath,
                                          timeout);
}

// Sends the table's opening and one row, then ends by `sig`: a crash inside the reader, or
// a signal sent from outside.
Body DiesOf(int sig) {
    return [sig](int fd) { return WriteAll(fd, kOpened + kRow) + ::raise(sig); };
}

TEST(MdbRowCursor, EveryWayTheReaderCanFailEndsInAnErrorOfOursButSlownessDoesNot) {
    using Kind = CDaoException::Kind;
    const std::string missing = "The table [QSO-TAB] does not exist in '/logs/Qervel.mdb'.";
    const std::string interrupted = "Reading '" + kPath + "' was interrupted (signal ";
    struct Case {
        std::string name;
        Body body;
        std::string expected;  // a piece of the error text; "" for a clean end
        Kind kind = Kind::Damaged;
    };
    std::vector<Case> cases = {
        {"slow but steady rows: silence counts between arrivals, not over the whole read",
         [](int fd) {
             bool sent = WriteAll(fd, Frame(FrameType::Opened, {4, 1}));
             for (int i = 0; i < 4; ++i) {
                 std::this_thread::sleep_for(150ms);
                 sent = sent && WriteAll(fd, kRow);
             }
             return sent && WriteAll(fd, Frame(FrameType::Done, {4})) ? 0 : 9;
         },
         ""},
        {"crash before the first frame", [](int) { return ::raise(SIGSEGV); }, kDamaged},
        {"silent endless loop",
         [](int) -> int {
             for (;;) std::this_thread::sleep_for(1s);
         },
         kDamaged + " (reading made no progress"},
        {"held stopped past the watchdog", [](int) { return ::raise(SIGSTOP); },
         interrupted + std::to_string(SIGSTOP) + ")", Kind::Interrupted},
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
        // The address space is what is limited, so the allocation itself fails.
        {"GLib's allocator, as libmdb uses it, at the memory limit",
         [](int fd) { return g_malloc(std::size_t{2} << 30) ? Sends(kOpened + kRow + kRow + kDone)(fd) : 9; },
         kDamaged},
        {"an error it reports before opening", Sends(Frame(FrameType::Error, {}, "QSO-TAB")), missing,
         Kind::WrongLayout},
        {"an error it reports after some rows", Sends(kOpened + kRow + Frame(FrameType::Error, {}, "QSO-TAB")), missing,
         Kind::WrongLayout},
        {"an error frame that is not one of ours", Sends(kOpened + "E" + std::string("\3\0\0\0xyz", 7)), kDamaged},
    };
    // A crash inside the reader may come of the file; a signal from outside says nothing about it.
    for (int sig : {SIGSEGV, SIGBUS, SIGABRT, SIGFPE, SIGILL})
        cases.push_back({"crash in the middle of the rows: " + std::string(sigabbrev_np(sig)), DiesOf(sig), kDamaged});
    for (int sig : {SIGKILL, SIGTERM, SIGINT, SIGHUP})
        cases.push_back({"ended from outside: " + std::string(sigabbrev_np(sig)), DiesOf(sig),
                         interrupted + std::to_string(sig) + ")", Kind::Interrupted});

    // The exporter catches the stop signals to clean up and end with a status of its own. Its
    // reader must not inherit that: ended from outside, it must end by the signal.
    struct sigaction exporters {
    }, before[3]{};
    exporters.sa_handler = [](int sig) { ::_exit(128 + sig); };
    sigemptyset(&exporters.sa_mask);
    const int stops[] = {SIGTERM, SIGINT, SIGHUP};
    for (int i = 0; i < 3; ++i) ASSERT_EQ(sigaction(stops[i], &exporters, &before[i]), 0);

    for (const Case& c : cases) {
        std::string error;
        std::optional<Kind> kind;
        try {
            auto cursor = Start(c.body, 300ms);
            for (std::vector<std::string> values; cursor->Next(values);) {}
        } catch (const CDaoException& e) {
            error = e.what();
            kind = e.GetKind();
        }
        EXPECT_EQ(error.empty(), c.expected.empty()) << c.name << ": " << error;
        EXPECT_NE(error.find(c.expected), std::string::npos) << c.name << ": " << error;
        if (!c.expected.empty()) {
            EXPECT_EQ(kind, c.kind) << c.name << ": " << error;
        }
        // Only damage sends the operator to repair the database.
        EXPECT_EQ(error.find("compact/repair") != std::string::npos, c.kind == Kind::Damaged && !c.expected.empty())
            << c.name << ": " << error;
    }
    for (int i = 0; i < 3; ++i) sigaction(stops[i], &before[i], nullptr);
}

// Works for `cpu` of its own processor time, which does not pass while it is stopped.
void Compute(std::chrono::milliseconds cpu) {
    auto used = [] {
        timespec now{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
        return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
    };
    for (auto end = used() + cpu; used() < end;) {}
}

// Ctrl-Z stops the exporter and its reader together. However long they were stopped, the
// time does not count as the reader's silence once both go on, even when the reader then
// needs a while before it has the next rows.
TEST(MdbRowCursor, AStopOfTheWholeProcessGroupIsNoSilenceOfTheReader) {
    const pid_t reading = fork();
    if (reading == 0) {
        ::setpgid(0, 0);
        try {
            auto cursor = Start(
                [](int fd) {
                    bool sent = WriteAll(fd, Frame(FrameType::Opened, {8, 1}));
                    for (int i = 0; i < 8; ++i) {
                        Compute(150ms);
                        sent = sent && WriteAll(fd, kRow);
                    }
                    return sent && WriteAll(fd, Frame(FrameType::Done, {8})) ? 0 : 9;
                },
                1s);
            for (std::vector<std::string> values; cursor->Next(values);) {}
        } catch (const CDaoException&) {
            ::_exit(1);
        }
        ::_exit(0);
    }
    ::setpgid(reading, reading);
    std::this_thread::sleep_for(400ms);
    ::kill(-reading, SIGSTOP);
    std::this_thread::sleep_for(2s);
    ::kill(-reading, SIGCONT);
    int status = 0;
    ASSERT_EQ(::waitpid(reading, &status, 0), reading);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the reading failed after the stop";
}

TEST(MdbRowCursor, DestroyingTheCursorEarlyStopsABlockedReader) {
    Start(
        [](int fd) -> int {
            WriteAll(fd, kOpened + kRow);
            for (;;) std::this_thread::sleep_for(1s);
        },
        30s);
    // Had the destructor waited for the reader, the test would not get here; had it not
    // reaped it, the reader would still be our child.
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
}

}  // namespace
