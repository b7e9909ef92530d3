#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "tests/integration/ExporterProcess.h"

namespace {

const std::string kSample = std::string(MORVASK_TEST_DATA) + "/sample";
const std::string kEarlier = "an earlier upload file\r\n";

std::vector<std::string> SampleArgs(const std::string& output, const std::string& source = kSample + "/source.mdb") {
    return {"--source", source, "--refdata", kSample + "/Refdata.mdb", "--output", output, "--oprcall", "PA3ABC"};
}

int Lines(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

// The desktop program reads the counts from the descriptor it names: the counts now and
// then, the last ones always, then "done" with them; standard output then carries the length
// trace alone, one line for every field with a counted length, and no summary.
TEST(ExportCli, SampleLogExportsToTheExpectedBytesTraceAndReport) {
    TempDir dir;
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    std::vector<std::string> args = SampleArgs(dir.File("adiUpld2Morvask.adi"));
    args.insert(args.end(), {"--trace", "--progress-fd", std::to_string(fds[1])});
    ExporterProcess run(args);
    close(fds[1]);
    EXPECT_EQ(run.Wait(), 0) << run.Stderr();
    const std::string adi = ReadFile(kSample + "/expected.adi");
    EXPECT_EQ(ReadFile(dir.File("adiUpld2Morvask.adi")), adi);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"adiUpld2Morvask.adi"});
    EXPECT_EQ(run.Stderr(), "") << "no progress line when standard error is no terminal";
    std::string trace;
    const std::regex counted(
        "\n<(CALL|TIME_ON|OPERATOR|QSL_RCVD|LOTW_QSL_RCVD|BAND|MODE|QSL_SENT|LOTW_QSL_SENT|DXCC|FREQ):(\\d+)>");
    for (std::sregex_iterator field(adi.begin(), adi.end(), counted), end; field != end; ++field)
        trace += "String of integer " + (*field)[2].str() + " (radix 10): " + (*field)[2].str() + "\n";
    EXPECT_EQ(run.Stdout(), trace);

    const std::string report = ReadFile("/proc/self/fd/" + std::to_string(fds[0]));
    close(fds[0]);
    // 79 contacts take far less than one interval: the first counts and the last.
    EXPECT_EQ(report, "0 0 0 0 0\n79 7 62 9 1\ndone 79 7 62 9 1\n");
}

// A desktop program started without a standard output hands none to the exporter: the trace
// must not land in the next file the exporter opens, the ADIF file or the reader's pipes.
TEST(ExportCli, TraceWithoutStandardOutputLandsNowhere) {
    TempDir dir;
    ExporterProcess run(
        [&] {
            std::vector<std::string> args = SampleArgs(dir.File("adiUpld2Morvask.adi"));
            args.push_back("--trace");
            return args;
        }(),
        ExporterProcess::kClosed);
    EXPECT_EQ(run.Wait(), 0) << run.Stderr();
    EXPECT_EQ(ReadFile(dir.File("adiUpld2Morvask.adi")), ReadFile(kSample + "/expected.adi"));
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"adiUpld2Morvask.adi"});
}

// What the desktop program is told on the report channel when a job fails, next to the
// exporter's own line on standard error for scripts.
TEST(ExportCli, FailuresTravelAsRecordsNamingTheFileAndTheBareReason) {
    TempDir dir, prefix;
    const std::string sample = ReadFile(kSample + "/source.mdb");
    WriteFile(dir.File("half.mdb"), sample.substr(0, sample.size() / 2));
    std::filesystem::create_directories(prefix.File("dosdevices"));
    const std::vector<std::tuple<std::string, std::vector<std::string>, int, std::string>> cases = {
        // what, arguments, exit code, report
        {"a refused version",
         {"--check-source", "--source", kSample + "/Refdata.mdb"},
         1,
         "failed version-refused source\n"},
        {"a missing source",
         {"--check-source", "--source", dir.File("missing.mdb")},
         1,
         "failed not-found source the file does not exist\n"},
        {"a missing reference",
         {"--check-refdata", "--refdata", dir.File("missing.mdb")},
         1,
         "failed not-found reference the file does not exist\n"},
        {"a source without the table",
         {"--check-refdata", "--refdata", kSample + "/source.mdb"},
         1,
         "failed wrong-layout reference the table [PREFIX-Pri] does not exist\n"},
        {"a damaged log during a run", SampleArgs(dir.File("out.adi"), dir.File("half.mdb")), 1,
         "failed damaged source "},
        {"an output folder that does not exist", SampleArgs(dir.File("no/out.adi")), 1,
         "0 0 0 0 0\nfailed output-not-writable adif No such file or directory\n"},
        {"a drive the prefix does not map",
         {"--check-refdata", "--refdata", "Q:\\Refdata.mdb"},
         2,
         "failed unusable-value reference Drive Q: of \"Q:\\\\Refdata.mdb\" is not mapped"},
        {"an empty output path",
         {"--source", kSample + "/source.mdb", "--output", ""},
         2,
         "failed unusable-value adif the path is empty\n"},
    };
    for (auto [what, args, code, record] : cases) {
        SCOPED_TRACE(what);
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        args.insert(args.end(), {"--progress-fd", std::to_string(fds[1])});
        ExporterProcess run(args, -1, prefix.File(""));
        close(fds[1]);
        EXPECT_EQ(run.Wait(), code) << run.Stderr();
        const std::string report = ReadFile("/proc/self/fd/" + std::to_string(fds[0]));
        close(fds[0]);
        // The record as shown, or its start where the reason is long; the failure comes last.
        EXPECT_EQ(record.back() == '\n' ? report : report.substr(0, record.size()), record);
        EXPECT_EQ(report.find('\n', report.find("failed ")), report.size() - 1) << report;
        EXPECT_FALSE(run.Stderr().empty()) << "the exporter's own message stays for scripts";
    }
}

// Refusals, check modes and a damaged log: one line on standard error, nothing on standard
// output, and an earlier upload file left as it was.
TEST(ExportCli, ChecksRefusalsAndDamagedLogsLeaveTheUploadFileAlone) {
    TempDir dir, out;
    const std::string output = out.File("adiUpld2Morvask.adi"), sample = ReadFile(kSample + "/source.mdb");
    WriteFile(output, kEarlier);
    WriteFile(dir.File("half.mdb"), sample.substr(0, sample.size() / 2));
    const std::vector<std::tuple<std::vector<std::string>, int, std::string>> cases = {
        // arguments, exit code, error
        {{"--check-source", "--source", kSample + "/source.mdb"}, 0, ""},
        {{"--check-refdata", "--refdata", kSample + "/Refdata.mdb"}, 0, ""},
        {{"--check-source", "--source", kSample + "/Refdata.mdb"}, 1, "Qervel - mdb file version error\n"},
        {{"--check-refdata", "--refdata", kSample + "/source.mdb"}, 1, "PREFIX-Pri"},
        {{"--check-source", "--source", dir.File("missing.mdb")}, 1, "missing.mdb"},
        {{}, 2, "Usage:"},
        {SampleArgs(output, dir.File("half.mdb")), 1, "half.mdb' is damaged"},
    };
    for (const auto& [args, code, text] : cases) {
        ExporterProcess run(args);
        SCOPED_TRACE(testing::PrintToString(args));
        EXPECT_EQ(run.Wait(), code) << run.Stderr();
        EXPECT_EQ(run.Stdout(), "");
        EXPECT_NE(run.Stderr().find(text), std::string::npos) << run.Stderr();
        EXPECT_EQ(code == 0, run.Stderr().empty()) << run.Stderr();
        if (code == 1) {
            EXPECT_EQ(Lines(run.Stderr()), 1) << run.Stderr();
        }
        EXPECT_EQ(ReadFile(output), kEarlier);
        EXPECT_EQ(out.Entries(), std::vector<std::string>{"adiUpld2Morvask.adi"});
    }
}

// The desktop program ends a run with SIGTERM when its window closes. The run is held in
// the middle by a trace pipe that nobody reads.
TEST(ExportCli, StopSignalRemovesTheUnfinishedFile) {
    TempDir dir;
    WriteFile(dir.File("adiUpld2Morvask.adi"), kEarlier);
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    fcntl(fds[1], F_SETPIPE_SZ, 4096);
    std::vector<std::string> args = SampleArgs(dir.File("adiUpld2Morvask.adi"));
    args.push_back("--trace");
    ExporterProcess run(args, fds[1]);
    close(fds[1]);
    char first;
    ASSERT_EQ(read(fds[0], &first, 1), 1) << "the run wrote no trace";
    ASSERT_EQ(dir.Entries().size(), 2u) << "the run never started its file";
    kill(run.Pid(), SIGTERM);
    EXPECT_EQ(run.Wait(), 128 + SIGTERM);
    close(fds[0]);
    EXPECT_EQ(ReadFile(dir.File("adiUpld2Morvask.adi")), kEarlier);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"adiUpld2Morvask.adi"});
}

}  // namespace
