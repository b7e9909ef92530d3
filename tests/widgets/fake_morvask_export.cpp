// Stands in for morvask-export in the widget tests: it takes its command line and reports
// exactly as the exporter does, through the same contract, and does what files in
// $FAKE_WORKER_DIR tell it. Every call is logged there, one line of arguments each.
//   check-source / check-refdata   a failure record ("failed KIND SUBJECT REASON") ends that
//                                  check with it
//   run.steps   one step a line: a progress record, sent as it is (a failure ends the run), or
//     sleep S     wait S seconds
//     flood N     N count records back to back, written as plain writes that take the channel
//                 to block when it is full
//     torn TEXT   TEXT on the channel without its line end, as a record cut off mid-write
//     exit N      end with status N without a report
//     signal N    end by signal N, told on the channel as the exporter tells it
// A run writes "fake export" and CR LF to its --output (a host path) first; one that reaches
// the end of its steps reports "done" with the last counts. SIGTERM is logged in signals.log
// and ends the fake as it ends the exporter.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/ExportOptions.h"
#include "cli/ExporterCommandLine.h"
#include "cli/FatalSignalReport.h"
#include "cli/ProgressRecord.h"
#include "cli/ProgressWriter.h"
#include "data/WriteAll.h"

namespace {

std::string g_dir, g_signalsLog;

void OnTerm(int) {
    const int fd = ::open(g_signalsLog.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd >= 0 && ::write(fd, "terminated\n", 11) == 11) ::close(fd);
    ::_exit(ExporterCommandLine::kExitStoppedBase + SIGTERM);
}

int Check(ProgressWriter& channel, const std::string& name) {
    std::ifstream file(g_dir + "/" + name);
    std::string line;
    const auto record = std::getline(file, line) ? ProgressRecord::Parse(line) : std::nullopt;
    if (!record) return ExporterCommandLine::kExitDone;
    channel.Failure(record->failure);
    return ExporterCommandLine::kExitFailed;
}

int Run(ProgressWriter& channel, int fd, const std::string& output) {
    signal(SIGTERM, OnTerm);
    // The ADIF file, so that what the desktop program does with a run's file can be seen. A
    // Windows path would need the prefix to map it: such a run writes nothing, rather than a
    // file named after the path in whatever folder the test runs in.
    if (output.starts_with('/')) std::ofstream(output, std::ios::binary | std::ios::trunc) << "fake export\r\n";
    RunCounts last;
    std::ifstream steps(g_dir + "/run.steps");
    for (std::string line; std::getline(steps, line);) {
        std::istringstream words(line);
        std::string step;
        double number = 0;
        words >> step >> number;
        if (const auto record = ProgressRecord::Parse(line)) {
            if (record->type == ProgressRecord::Type::Failure) {
                channel.Failure(record->failure);
                return ExporterCommandLine::kExitFailed;
            }
            channel.Progress(last = record->counts);
        } else if (step == "sleep") {
            std::this_thread::sleep_for(std::chrono::duration<double>(number));
        } else if (step == "flood") {
            for (long i = 1; i <= static_cast<long>(number); ++i) {
                if (!WriteAll(fd, ProgressRecord::Progress(last = {i, 0, i, 0, 0}))) {
                    std::perror("fake exporter: flood");
                    return 98;
                }
            }
        } else if (step == "torn") {
            if (!WriteAll(fd, line.substr(line.find(' ') + 1))) return 98;
        } else if (step == "exit") {
            return static_cast<int>(number);
        } else if (step == "signal") {
            // Told on the channel as the exporter tells it, unless it cannot be caught.
            ::raise(static_cast<int>(number));
        } else if (!line.empty()) {
            std::cerr << "fake exporter: no step \"" << line << "\"\n";
            return 97;
        }
    }
    channel.Done(last);
    return ExporterCommandLine::kExitDone;
}

}  // namespace

int main(int argc, char** argv) {
    const char* dir = std::getenv("FAKE_WORKER_DIR");
    if (!dir) return 96;
    g_dir = dir;
    g_signalsLog = g_dir + "/signals.log";
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::ofstream log(g_dir + "/calls.log", std::ios::app);
    for (const std::string& arg : args) log << arg << ' ';
    log << '\n';
    log.close();

    ExportOptions options;
    try {
        options = ExportOptions::Parse(args);
    } catch (const UsageError& e) {
        std::cerr << e.what() << '\n';
        return ExporterCommandLine::kExitUsage;
    }
    // The desktop program names its progress channel on every call.
    if (!options.progressFd) return 95;
    ProgressWriter channel(*options.progressFd);
    FatalSignalReport::Install(*options.progressFd);
    switch (options.mode) {
    case ExportOptions::Mode::CheckSource:
        return Check(channel, "check-source");
    case ExportOptions::Mode::CheckRefdata:
        return Check(channel, "check-refdata");
    case ExportOptions::Mode::Export:
        return Run(channel, *options.progressFd, options.output.value_or(""));
    case ExportOptions::Mode::Help:
    case ExportOptions::Mode::Version:
        break;
    }
    return ExporterCommandLine::kExitDone;
}
