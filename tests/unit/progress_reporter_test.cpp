#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "cli/ProgressRecord.h"
#include "cli/ProgressReporter.h"
#include "cli/ProgressWriter.h"
#include "tests/support/FileBytes.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::vector<ProgressRecord> Records(const std::string& bytes) {
    std::vector<ProgressRecord> records;
    for (std::size_t start = 0, end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
        const auto record = ProgressRecord::Parse(std::string_view(bytes).substr(start, end - start));
        EXPECT_TRUE(record) << bytes.substr(start, end - start);
        if (record) records.push_back(*record);
    }
    return records;
}

// Runs of `passes` passes of `pass` each, timed by a clock of the test's own: the counts go
// out about once an interval, the first at once and the last always, each more than the one
// before. Every pass counts one contact valid.
TEST(ProgressReporter, SendsTheLatestCountsOnceAnIntervalAndAlwaysTheLast) {
    const std::tuple<const char*, long, Clock::duration, std::size_t, std::size_t> cases[] = {
        // what, passes, one pass, fewest and most progress records
        {"a second's run: the counters visibly advance", 200000, 5us, 20, 27},
        {"a run shorter than an interval: the first and the last", 79, 1us, 2, 2},
        {"passes slower than an interval: each one's counts", 10, 100ms, 11, 11},
        {"an empty table: the zeros once", 0, 1us, 1, 1},
    };
    for (const auto& [what, passes, pass, fewest, most] : cases) {
        SCOPED_TRACE(what);
        int fds[2];
        ASSERT_EQ(pipe2(fds, O_NONBLOCK), 0);
        fcntl(fds[1], F_SETPIPE_SZ, 1 << 20);
        ProgressWriter writer(fds[1]);
        Clock::time_point now{};
        ProgressReporter progress(
            &writer, std::nullopt, [] { return 0L; }, [&now] { return now; });
        ExportCounters counters;
        counters.Reset();
        progress.ReadCountsFrom(counters);
        for (long i = 0; i < passes; ++i) {
            progress.Pump();
            now += pass;
            counters.Add(ExportCounters::Valid);
            counters.Add(ExportCounters::Total);
        }
        progress.Finish();
        close(fds[1]);
        const std::vector<ProgressRecord> records = Records(ReadFile("/proc/self/fd/" + std::to_string(fds[0])));
        close(fds[0]);
        ASSERT_FALSE(records.empty());
        EXPECT_GE(records.size(), fewest);
        EXPECT_LE(records.size(), most);
        EXPECT_EQ(records.front().counts, RunCounts{});
        EXPECT_EQ(records.back().counts, (RunCounts{passes, 0, passes, 0, 0}));
        for (std::size_t i = 1; i < records.size(); ++i)
            EXPECT_GT(records[i].counts.total, records[i - 1].counts.total);
    }
}

// A descriptor made non-blocking by mistake, and a reader slower than the writer: the
// writer waits until every record is through instead of giving up when the pipe is full.
TEST(ProgressWriter, WaitsForASlowReaderOnANonBlockingDescriptor) {
    int fds[2];
    ASSERT_EQ(pipe2(fds, O_NONBLOCK), 0);
    fcntl(fds[1], F_SETPIPE_SZ, 4096);
    std::string received;
    std::thread reader([&] {
        fcntl(fds[0], F_SETFL, 0);
        char buffer[512];
        for (ssize_t got; (got = read(fds[0], buffer, sizeof buffer)) > 0;) {
            received.append(buffer, static_cast<std::size_t>(got));
            std::this_thread::sleep_for(100us);
        }
    });
    ProgressWriter writer(fds[1]);
    std::string sent;
    for (long i = 1; i <= 5000; ++i) {
        writer.Progress({i, 0, i, 0, 0});
        sent += ProgressRecord::Progress({i, 0, i, 0, 0});
    }
    close(fds[1]);
    reader.join();
    close(fds[0]);
    EXPECT_EQ(received, sent);
}

}  // namespace
