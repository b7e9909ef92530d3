#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <system_error>

#include "tests/integration/ExporterProcess.h"
#include "tests/support/TempPrefix.h"
#include "tools/sampledb/SampleInstallation.h"

// What the exporter may write, and what it must leave alone: the logging program's files,
// whatever they are called, and anything at the output path that is no regular file.

namespace {

const std::string kSample = std::string(MORVASK_TEST_DATA) + "/sample";
const std::string kEarlier = "an earlier upload file\r\n";

std::vector<std::string> Args(const std::string& source, const std::string& refdata, const std::string& output) {
    return {"--source", source, "--refdata", refdata, "--output", output, "--oprcall", "PA3ABC"};
}

// Type, inode and bytes of what lies at path, not following a link: whatever it is, it
// must be exactly this again after a refused run.
std::string Fingerprint(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) return "nothing";
    std::string print = std::to_string(info.st_mode) + ":" + std::to_string(info.st_ino);
    return S_ISREG(info.st_mode) ? print + ":" + ReadFile(path) : print;
}

// Whether the process holds a file open in the folder `dir`, named or not.
bool HoldsFileIn(pid_t pid, const std::string& dir) {
    const std::string fds = "/proc/" + std::to_string(pid) + "/fd";
    for (const auto& entry : std::filesystem::directory_iterator(fds)) {
        std::error_code error;
        if (std::filesystem::read_symlink(entry.path(), error).string().rfind(dir + "/", 0) == 0) return true;
    }
    return false;
}

TEST(ExportCliFiles, AnOutputThatMustNotBeReplacedIsRefusedAndLeftAsItIs) {
    TempPrefix prefix;
    const std::string dir = prefix.MakeDir("qervel");
    const std::string source = prefix.WriteFile("qervel/Qervel.mdb", ReadFile(kSample + "/source.mdb"));
    const std::string refdata = prefix.WriteFile("qervel/Refdata.mdb", ReadFile(kSample + "/Refdata.mdb"));
    const std::string settings = prefix.WriteFile("drive_c/windows/Qvl2007.ini", "[Gen]\r\nOPRCALL=PA3ABC\r\n");
    prefix.MakeDir("qervel/sub");
    ASSERT_EQ(link(refdata.c_str(), (dir + "/hard.mdb").c_str()), 0);
    ASSERT_EQ(mkfifo((dir + "/pipe").c_str(), 0644), 0);
    ASSERT_EQ(symlink("pipe", (dir + "/to-pipe.adi").c_str()), 0);
    prefix.MakeSocket("qervel/socket");

    struct Case {
        std::string name, output, says;
    };
    std::vector<Case> cases = {
        {"the source database", source, "is the source database \"" + source + "\""},
        {"a hard link to the reference database", dir + "/hard.mdb", "is the reference database \"" + refdata + "\""},
        {"the settings file", settings, "is the settings file \"" + settings + "\""},
        {"a named pipe", dir + "/pipe", "is a named pipe"},
        {"a link to a named pipe", dir + "/to-pipe.adi", "leads to \"" + dir + "/pipe\", a named pipe"},
        {"a socket", dir + "/socket", "is a socket"},
        {"a folder", dir + "/sub", "is a folder"},
    };
    // Run as root, the exporter once replaced the device node it was given. A node made
    // here stands for /dev/full, so that a fault cannot harm the machine's own.
    if (mknod((dir + "/full").c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0)
        cases.push_back({"a character device", dir + "/full", "is a character device"});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string before = Fingerprint(c.output) + Fingerprint(source) + Fingerprint(refdata);
        ExporterProcess run(Args(source, refdata, c.output), -1, prefix.Root());
        EXPECT_EQ(run.Wait(std::chrono::seconds(20)), 2);
        EXPECT_EQ(run.Stdout(), "");
        EXPECT_NE(run.Stderr().find("--output \"" + c.output + "\" " + c.says), std::string::npos) << run.Stderr();
        EXPECT_EQ(Fingerprint(c.output) + Fingerprint(source) + Fingerprint(refdata), before);
    }
}

// The desktop program ends a run with SIGTERM when its window closes; anything may end it
// with SIGKILL. Either way the earlier file stands and nothing else of the run is left,
// and the next run leaves the new file alone in the folder. The run is held in the middle
// by a trace pipe that nobody reads, on a log long enough to fill it while the walk goes on.
TEST(ExportCliFiles, AStoppedOrKilledRunLeavesTheEarlierFileAndNothingElse) {
    TempDir logs;
    SampleInstallation::Options options;
    options.contacts = 3000;
    const auto log = SampleInstallation::Write(logs.File("generated"), options);
    for (int sig : {SIGTERM, SIGKILL}) {
        SCOPED_TRACE(sigabbrev_np(sig));
        TempDir dir;
        const std::string adi = dir.File("adiUpld2Morvask.adi");
        const std::vector<std::string> args = Args(log.logFile, log.refdataFile, adi);
        const std::vector<std::string> sample = Args(kSample + "/source.mdb", kSample + "/Refdata.mdb", adi);
        WriteFile(adi, kEarlier);
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        fcntl(fds[1], F_SETPIPE_SZ, 4096);
        std::vector<std::string> traced = args;
        traced.push_back("--trace");
        ExporterProcess run(traced, fds[1]);
        close(fds[1]);
        char first;
        ASSERT_EQ(read(fds[0], &first, 1), 1) << "the run wrote no trace";
        const std::string folder = dir.File("");
        ASSERT_TRUE(HoldsFileIn(run.Pid(), folder.substr(0, folder.size() - 1))) << "the run never started its file";
        kill(run.Pid(), sig);
        EXPECT_EQ(run.Wait(), 128 + sig);
        close(fds[0]);
        EXPECT_EQ(ReadFile(adi), kEarlier);
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"adiUpld2Morvask.adi"});

        ExporterProcess again(sample);
        EXPECT_EQ(again.Wait(), 0) << again.Stderr();
        EXPECT_EQ(ReadFile(adi), ReadFile(kSample + "/expected.adi"));
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"adiUpld2Morvask.adi"});
    }
}

// Relative paths are the operator's host paths from the folder they are in: "../x.adi" is
// the file one folder up, as the shell would take it. Folded as Windows folds a path, ".."
// never climbed: the run replaced ./x.adi, the operator's own file, read ./log.mdb, another
// log, and said so with exit 0.
TEST(ExportCliFiles, RelativePathsAreTheFilesTheyNameFromTheCurrentFolder) {
    TempDir dir;
    dir.WriteFile("log.mdb", ReadFile(kSample + "/source.mdb"));
    dir.WriteFile("child/log.mdb", "not the log the run was given\r\n");
    const std::string own = dir.WriteFile("child/x.adi", "the operator's own file\r\n");
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir.File("child"));
    struct BackAtEnd {
        std::filesystem::path to;
        ~BackAtEnd() {
            std::error_code ignored;
            std::filesystem::current_path(to, ignored);
        }
    } back{before};

    ExporterProcess run(Args("../log.mdb", kSample + "/Refdata.mdb", "../x.adi"));
    EXPECT_EQ(run.Wait(), 0) << run.Stderr();
    EXPECT_EQ(run.Stdout(), ReadFile(kSample + "/expected.counts"));
    EXPECT_TRUE(ReadFile(dir.File("x.adi")) == ReadFile(kSample + "/expected.adi")) << "not written one folder up";
    EXPECT_EQ(ReadFile(own), "the operator's own file\r\n");

    // A file that is not there is named as the operator wrote it.
    ExporterProcess missing(Args("../gone/log.mdb", kSample + "/Refdata.mdb", "../x.adi"));
    EXPECT_EQ(missing.Wait(), 1);
    EXPECT_NE(missing.Stderr().find("'../gone/log.mdb'"), std::string::npos) << missing.Stderr();
}

}  // namespace
