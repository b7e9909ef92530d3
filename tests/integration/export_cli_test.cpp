#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tests/integration/ExporterProcess.h"

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

TEST(ExportCli, DamagedSourceFilesFailWithOneLineAndNoFile) {
    TempDir dir;
    const std::string sample = ReadFile(kSample + "/source.mdb");
    for (const std::string& bytes : {std::string(), std::string("Total QSOs: 3\r\n"), sample.substr(0, 4096),
                                     sample.substr(0, sample.size() / 2),
                                     sample.substr(0, 8192) + std::string(sample.size() - 8192, '\xA5')}) {
        SCOPED_TRACE(std::to_string(bytes.size()) + " bytes");
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
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (dir.Entries().size() < 2 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_EQ(dir.Entries().size(), 2u) << "the run never started its file";
    kill(run.Pid(), SIGTERM);
    EXPECT_EQ(run.Wait(), 128 + SIGTERM);
    close(fds[0]);
    EXPECT_EQ(ReadFile(dir.File("adiUpld2Morvask.adi")), kEarlier);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"adiUpld2Morvask.adi"});
}

TEST(ExportCli, CheckModesAndUsage) {
    TempDir dir;
    WriteFile(dir.File("text.mdb"), "not a database");
    const std::vector<std::tuple<std::vector<std::string>, int, std::string>> cases = {
        {{"--check-source", "--source", kSample + "/source.mdb"}, 0, ""},
        {{"--check-refdata", "--refdata", kSample + "/Refdata.mdb"}, 0, ""},
        {{"--check-source", "--source", kSample + "/Refdata.mdb"}, 1, "Qervel - mdb file version error\n"},
        {{"--check-refdata", "--refdata", kSample + "/source.mdb"}, 1, "PREFIX-Pri"},
        {{"--check-source", "--source", dir.File("text.mdb")}, 1, "text.mdb"},
        {{"--check-source", "--source", dir.File("missing.mdb")}, 1, "missing.mdb"},
        {{}, 2, "Usage:"},
        {{"--source", "a", "--refdata", "b", "--output", "c", "--oprcall", "", "--start", "2012"}, 2, "Usage:"},
    };
    for (const auto& [args, code, text] : cases) {
        ExporterProcess run(args);
        EXPECT_EQ(run.Wait(), code) << run.Stderr();
        EXPECT_EQ(run.Stdout(), "");
        if (code == 0) {
            EXPECT_EQ(run.Stderr(), "");
        } else {
            EXPECT_NE(run.Stderr().find(text), std::string::npos) << run.Stderr();
        }
        if (code == 1) {
            EXPECT_EQ(Lines(run.Stderr()), 1) << run.Stderr();
        }
    }
}

}  // namespace
