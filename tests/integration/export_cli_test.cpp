#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tests/integration/ExporterProcess.h"
#include "tests/unit/ScratchMount.h"

namespace {

const std::string kSample = std::string(MORVASK_TEST_DATA) + "/sample";
const std::string kEarlier = "an earlier upload file\r\n";

std::vector<std::string> SampleArgs(const std::string& output, const std::string& source = kSample + "/source.mdb") {
    return {"--source", source, "--refdata", kSample + "/Refdata.mdb", "--output", output, "--oprcall", "PA3ABC"};
}

int Lines(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

TEST(ExportCli, SampleLogExportsToTheExpectedBytesAndCounts) {
    TempDir dir;
    ExporterProcess run(SampleArgs(dir.File("adiUpld2Morvask.adi")));
    EXPECT_EQ(run.Wait(), 0) << run.Stderr();
    EXPECT_EQ(run.Stdout(), ReadFile(kSample + "/expected.counts"));
    EXPECT_EQ(run.Stderr(), "") << "no progress line when standard error is no terminal";
    EXPECT_EQ(ReadFile(dir.File("adiUpld2Morvask.adi")), ReadFile(kSample + "/expected.adi"));
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"adiUpld2Morvask.adi"});
}

TEST(ExportCli, DamagedOrForeignSourceFilesFailCleanly) {
    TempDir dir;
    std::string sample = ReadFile(kSample + "/source.mdb");
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"empty file", ""},
        {"text file", "Total QSOs: 3\r\n"},
        {"first page only", sample.substr(0, 4096)},
        {"cut in the middle", sample.substr(0, sample.size() / 2)},
        {"pages overwritten with garbage", sample.substr(0, 8192) + std::string(sample.size() - 8192, '\xA5')},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        WriteFile(dir.File("source.mdb"), bytes);
        WriteFile(dir.File("out.adi"), kEarlier);
        ExporterProcess run(SampleArgs(dir.File("out.adi"), dir.File("source.mdb")));
        EXPECT_EQ(run.Wait(), 1);
        EXPECT_EQ(run.Stdout(), "");
        EXPECT_EQ(Lines(run.Stderr()), 1) << run.Stderr();
        EXPECT_EQ(ReadFile(dir.File("out.adi")), kEarlier);
        EXPECT_EQ(dir.Entries().size(), 2u) << "no temporary file left";
    }
}

TEST(ExportCli, UnusableArgumentsShowTheUsage) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {}, {"--source"}, {"--start", "2012", "--source", "a", "--refdata", "b", "--output", "c", "--oprcall", ""}}) {
        ExporterProcess run(args);
        EXPECT_EQ(run.Wait(), 2);
        EXPECT_NE(run.Stderr().find("Usage:"), std::string::npos) << run.Stderr();
        EXPECT_EQ(run.Stdout(), "");
    }
}

TEST(ExportCli, FullDiskFailsWithTheReasonAndKeepsTheEarlierFile) {
    TempDir dir;
    ScratchMount disk(dir.Path(), "size=8k");
    ExporterProcess::Options options;
    if (!disk.Available()) options.fileSizeLimit = 4096;
    WriteFile(dir.File("adiUpld2Morvask.adi"), kEarlier);
    ExporterProcess run(SampleArgs(dir.File("adiUpld2Morvask.adi")), options);
    EXPECT_EQ(run.Wait(), 1);
    EXPECT_EQ(run.Stdout(), "");
    EXPECT_EQ(Lines(run.Stderr()), 1) << run.Stderr();
    EXPECT_NE(run.Stderr().find(dir.File("adiUpld2Morvask.adi")), std::string::npos) << run.Stderr();
    EXPECT_NE(run.Stderr().find(disk.Available() ? "No space left on device" : "File too large"), std::string::npos)
        << run.Stderr();
    EXPECT_EQ(ReadFile(dir.File("adiUpld2Morvask.adi")), kEarlier);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"adiUpld2Morvask.adi"});
}

// The desktop program ends a run with SIGTERM when its window closes. The run is held in
// the middle by a trace pipe that nobody reads.
TEST(ExportCli, StopSignalRemovesTheUnfinishedFile) {
    TempDir dir;
    WriteFile(dir.File("adiUpld2Morvask.adi"), kEarlier);
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    fcntl(fds[1], F_SETPIPE_SZ, 4096);
    ExporterProcess::Options options;
    options.stdoutFd = fds[1];
    std::vector<std::string> args = SampleArgs(dir.File("adiUpld2Morvask.adi"));
    args.push_back("--trace");
    ExporterProcess run(args, options);
    close(fds[1]);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (dir.Entries().size() < 2 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_EQ(dir.Entries().size(), 2u) << "the run never got to write its file";
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    kill(run.Pid(), SIGTERM);
    EXPECT_EQ(run.Wait(), 128 + SIGTERM);
    close(fds[0]);
    EXPECT_EQ(ReadFile(dir.File("adiUpld2Morvask.adi")), kEarlier);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"adiUpld2Morvask.adi"});
}

TEST(ExportCli, CheckModesOnAccessFiles) {
    TempDir dir;
    WriteFile(dir.File("text.mdb"), "not a database");
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string stderrText;
    };
    const std::vector<Case> cases = {
        {{"--check-source", "--source", kSample + "/source.mdb"}, 0, ""},
        {{"--check-refdata", "--refdata", kSample + "/Refdata.mdb"}, 0, ""},
        {{"--check-source", "--source", kSample + "/Refdata.mdb"}, 1, "Qervel - mdb file version error\n"},
        {{"--check-refdata", "--refdata", kSample + "/source.mdb"}, 1, "PREFIX-Pri"},
        {{"--check-source", "--source", dir.File("text.mdb")}, 1, "text.mdb"},
        {{"--check-source", "--source", dir.File("missing.mdb")}, 1, "missing.mdb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        ExporterProcess run(c.args);
        EXPECT_EQ(run.Wait(), c.code);
        if (c.code == 0) {
            EXPECT_EQ(run.Stderr(), "");
        } else {
            EXPECT_NE(run.Stderr().find(c.stderrText), std::string::npos) << run.Stderr();
            EXPECT_EQ(Lines(run.Stderr()), 1) << run.Stderr();
        }
    }
}

}  // namespace
