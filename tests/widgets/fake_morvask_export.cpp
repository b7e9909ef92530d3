// Stands in for morvask-export in the widget tests: it takes its command line and reports
// exactly as the exporter does, through the same contract, and does what files in
// $FAKE_WORKER_DIR tell it. Every call is logged there, one line of arguments each.
//   check-source.fail / check-refdata.fail   fail that check with the failure "KIND SUBJECT REASON"
//   run.steps   one step a line:
//     T NV V NSO NDR          report these counts
//     sleep S                 wait S seconds
//     flood N                 N count records back to back, written as plain writes that
//                             take the channel to block when it is full
//     fail KIND SUBJECT REASON   report this failure and exit 1
//     exit N                  exit N without a report
//     die / crash             end on SIGKILL / SIGSEGV
// A run writes "fake export" and CR LF to its --output first; one that reaches the end of its
// steps reports "done" with the last counts. SIGTERM is
// logged in signals.log and ends the fake as it ends the exporter.
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
#include "cli/ReportRecord.h"
#include "cli/ReportWriter.h"
#include "data/WriteAll.h"

namespace {

std::string g_dir;

std::string g_signalsLog;

void OnTerm(int) {
    const int fd = ::open(g_signalsLog.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd >= 0 && ::write(fd, "terminated\n", 11) == 11) ::close(fd);
    ::_exit(ExporterCommandLine::kExitStoppedBase + SIGTERM);
}

// "KIND SUBJECT REASON", the reason as it is.
std::optional<ExportFailure> FailureOf(const std::string& spec) {
    std::istringstream words(spec);
    std::string kindName, subjectName, reason;
    words >> kindName >> subjectName;
    std::getline(words >> std::ws, reason);
    ExportFailure failure;
    const auto kind = ExportFailure::KindFromName(kindName);
    if (!kind || !ExportFailure::SubjectFromName(subjectName, failure.subject)) return std::nullopt;
    failure.kind = *kind;
    failure.reason = reason;
    return failure;
}

int Fail(ReportWriter* report, const std::string& spec) {
    const auto failure = FailureOf(spec);
    if (!failure) {
        std::cerr << "fake exporter: no failure \"" << spec << "\"\n";
        return 99;
    }
    if (report) report->Failure(*failure);
    return ExporterCommandLine::kExitFailed;
}

int Check(ReportWriter* report, const std::string& name) {
    std::ifstream fail(g_dir + "/" + name + ".fail");
    std::string spec;
    if (!fail || !std::getline(fail, spec)) return ExporterCommandLine::kExitDone;
    return Fail(report, spec);
}

int Run(ReportWriter* report, const std::string& output) {
    g_signalsLog = g_dir + "/signals.log";
    signal(SIGTERM, OnTerm);
    // The ADIF file, so that what the desktop program does with a run's file can be seen.
    std::ofstream(output, std::ios::binary | std::ios::trunc) << "fake export\r\n";
    RunCounts last;
    std::ifstream steps(g_dir + "/run.steps");
    for (std::string line; std::getline(steps, line);) {
        std::istringstream words(line);
        std::string step, rest;
        words >> step;
        std::getline(words >> std::ws, rest);
        if (step == "sleep") {
            std::this_thread::sleep_for(std::chrono::duration<double>(std::stod(rest)));
        } else if (step == "flood") {
            for (long i = 1, n = std::stol(rest); i <= n; ++i) {
                last = {i, 0, i, 0, 0};
                if (!WriteAll(report->Descriptor(), ReportRecord::Progress(last))) {
                    std::perror("fake exporter: flood");
                    return 98;
                }
            }
        } else if (step == "fail") {
            return Fail(report, rest);
        } else if (step == "exit") {
            return std::stoi(rest);
        } else if (step == "die") {
            ::raise(SIGKILL);
        } else if (step == "crash") {
            signal(SIGSEGV, SIG_DFL);
            ::raise(SIGSEGV);
        } else if (const auto record = ReportRecord::Parse(line)) {
            last = record->counts;
            report->Progress(last);
        } else if (!line.empty()) {
            std::cerr << "fake exporter: no step \"" << line << "\"\n";
            return 97;
        }
    }
    report->Done(last);
    return ExporterCommandLine::kExitDone;
}

}  // namespace

int main(int argc, char** argv) {
    const char* dir = std::getenv("FAKE_WORKER_DIR");
    if (!dir) return 96;
    g_dir = dir;
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
    std::optional<ReportWriter> report;
    if (options.progressFd) report.emplace(*options.progressFd);
    ReportWriter* channel = report ? &*report : nullptr;
    switch (options.mode) {
    case ExportOptions::Mode::CheckSource:
        return Check(channel, "check-source");
    case ExportOptions::Mode::CheckRefdata:
        return Check(channel, "check-refdata");
    case ExportOptions::Mode::Export:
        return channel ? Run(channel, options.output.value_or("")) : 95;
    case ExportOptions::Mode::Help:
    case ExportOptions::Mode::Version:
        break;
    }
    return ExporterCommandLine::kExitDone;
}
