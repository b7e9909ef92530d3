#include <gtest/gtest.h>

#include <regex>

#include "tests/integration/ExporterProcess.h"

namespace {

const std::string kSample = std::string(MORVASK_TEST_DATA) + "/sample";
const std::string kEarlier = "an earlier upload file\r\n";

std::vector<std::string> SampleArgs(const std::string& output, const std::string& source = kSample + "/source.mdb") {
    return {"--source", source, "--refdata", kSample + "/Refdata.mdb", "--output", output, "--oprcall", "PA3ABC"};
}

int Lines(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

// The desktop program reads the counts from the descriptor it names: a first line of zeros,
// then one line after every change of a count, two for each contact. The length trace
// comes before the five counts, one line for every field with a counted length.
TEST(ExportCli, SampleLogExportsToTheExpectedBytesCountsTraceAndProgress) {
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
    EXPECT_EQ(run.Stdout(), trace + ReadFile(kSample + "/expected.counts"));

    const std::string progress = ReadFile("/proc/self/fd/" + std::to_string(fds[0]));
    close(fds[0]);
    EXPECT_EQ(Lines(progress), 1 + 2 * 79);
    EXPECT_EQ(progress.substr(0, 10), "0 0 0 0 0\n");
    EXPECT_EQ(progress.substr(progress.rfind('\n', progress.size() - 2) + 1), "79 7 62 9 1\n");
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

}  // namespace
