#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>

#include "export/AdiOutputFile.h"
#include "export/AdiTempFiles.h"
#include "export/CFileException.h"
#include "tests/unit/ExportTestSupport.h"

namespace {

using Staging = AdiOutputFile::Staging;
const std::string kEarlier = "an earlier upload file\r\n";

std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

// Where the file system has no unnamed files, a writer killed at any moment leaves a hidden
// file of its own beside the output. The next file made there removes it, but never the
// file of a writer still at work, nor anything that only looks like ours.
TEST(AdiOutputFile, LeftoversOfKilledWritersGoButLiveWritersAndOtherFilesStay) {
    TempDir dir;
    const std::string name = "adiUpld2Morvask.adi", adi = dir.File(name);
    WriteFile(adi, kEarlier);
    std::vector<std::string> stays = {name, ".adiUpld2Morvask.adi.tmp", ".adiUpld2Morvask.adi.12-x.tmp",
                                      ".other.adi.12-0.tmp", "adiUpld2Morvask.adi.12-0.tmp"};
    for (const std::string& entry : stays)
        if (entry != name) WriteFile(dir.File(entry), "not ours");
    // Our pattern, but no file: a folder and a link to the output.
    stays.push_back(".adiUpld2Morvask.adi.7-0.tmp");
    std::filesystem::create_directory(dir.File(stays.back()));
    stays.push_back(".adiUpld2Morvask.adi.8-0.tmp");
    std::filesystem::create_symlink(adi, dir.File(stays.back()));

    const pid_t killed = fork();
    if (killed == 0) {
        AdiOutputFile file(adi, Staging::Named);
        file.Write(std::string(200000, 'x'));
        raise(SIGKILL);
    }
    ASSERT_EQ(waitpid(killed, nullptr, 0), killed);
    const std::string leftover = dir.File(AdiTempFiles::Name(name, killed, 0));
    ASSERT_TRUE(std::filesystem::exists(leftover)) << "the killed writer left nothing to remove";
    EXPECT_EQ(ReadFile(adi), kEarlier);

    AdiOutputFile live(adi, Staging::Named);
    live.Write("the live writer's\r\n");
    const std::string liveName = AdiTempFiles::Name(name, getpid(), 0);
    ASSERT_TRUE(std::filesystem::exists(dir.File(liveName)));
    for (Staging staging : {Staging::Named, Staging::Unnamed}) {
        AdiOutputFile next(adi, staging);
        next.Write("the next\r\n");
        next.Commit();
        EXPECT_FALSE(std::filesystem::exists(leftover));
        EXPECT_TRUE(std::filesystem::exists(dir.File(liveName))) << "a live writer's file was taken";
    }
    live.Commit();
    EXPECT_EQ(ReadFile(adi), "the live writer's\r\n");
    EXPECT_EQ(Sorted(dir.Entries()), Sorted(stays));
}

// Both ways of staging the file end alike: the replaced file keeps its permission bits (and,
// where we may give them, its owner and group), a new one gets those of any new file, and
// only the unnamed way shows nothing while it writes. A link is the operator's way of putting
// the file elsewhere: the file it leads to is replaced, and the link stays.
TEST(AdiOutputFile, BothStagingsKeepTheReplacedFilesModeOwnerAndLinks) {
    const bool root = geteuid() == 0;
    for (Staging staging : {Staging::Named, Staging::Unnamed}) {
        SCOPED_TRACE(staging == Staging::Named ? "named" : "unnamed");
        TempDir dir;
        const std::string adi = dir.File("real/adiUpld2Morvask.adi"), fresh = dir.File("new.adi");
        dir.WriteFile("real/adiUpld2Morvask.adi", kEarlier);
        ASSERT_EQ(chmod(adi.c_str(), 0604), 0);
        if (root) {
            ASSERT_EQ(chown(adi.c_str(), 1234, 5678), 0);
        }
        // Two links, each relative to its own folder.
        ASSERT_EQ(symlink("real/adiUpld2Morvask.adi", dir.File("first.adi").c_str()), 0);
        ASSERT_EQ(symlink("first.adi", dir.File("upload.adi").c_str()), 0);
        const mode_t mask = umask(022);
        {
            AdiOutputFile replacing(dir.File("upload.adi"), staging), creating(fresh, staging);
            replacing.Write("replaced\r\n");
            creating.Write("created\r\n");
            const auto shown = std::distance(std::filesystem::recursive_directory_iterator(dir.Root()), {});
            EXPECT_EQ(shown, staging == Staging::Named ? 6 : 4);
            replacing.Commit();
            creating.Commit();
        }
        umask(mask);
        struct stat replaced {
        }, created{};
        ASSERT_EQ(stat(adi.c_str(), &replaced), 0);
        ASSERT_EQ(stat(fresh.c_str(), &created), 0);
        EXPECT_EQ(replaced.st_mode & 07777, 0604u);
        EXPECT_EQ(created.st_mode & 07777, 0644u);
        if (root) {
            EXPECT_EQ(replaced.st_uid, 1234u);
            EXPECT_EQ(replaced.st_gid, 5678u);
        }
        EXPECT_EQ(ReadFile(adi), "replaced\r\n");
        EXPECT_EQ(std::filesystem::read_symlink(dir.File("upload.adi")), "first.adi");
        EXPECT_EQ(std::filesystem::read_symlink(dir.File("first.adi")), "real/adiUpld2Morvask.adi");
        EXPECT_EQ(Sorted(dir.Entries()), (std::vector<std::string>{"first.adi", "new.adi", "real", "upload.adi"}));
        EXPECT_EQ(std::filesystem::directory_iterator(dir.File("real"))->path(), adi) << "something else beside it";
    }
}

// What lies at the output is looked at again before it is replaced: a named pipe that took
// the file's place during the walk is left alone, and nothing of the run remains.
TEST(AdiOutputFile, AnOutputThatBecameNoFileDuringTheWalkIsLeftAlone) {
    for (Staging staging : {Staging::Named, Staging::Unnamed}) {
        TempDir dir;
        const std::string adi = dir.File("adiUpld2Morvask.adi");
        AdiOutputFile file(adi, staging);
        file.Write("written\r\n");
        ASSERT_EQ(mkfifo(adi.c_str(), 0644), 0);
        try {
            file.Commit();
            ADD_FAILURE() << "the pipe was replaced";
        } catch (const CFileException& e) {
            EXPECT_NE(std::string(e.what()).find("is a named pipe"), std::string::npos) << e.what();
        }
        struct stat info {};
        ASSERT_EQ(lstat(adi.c_str(), &info), 0);
        EXPECT_TRUE(S_ISFIFO(info.st_mode));
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"adiUpld2Morvask.adi"});
    }
}

// A file system without working locks: a network home without a lock manager.
int NoLocks(int, int) {
    errno = ENOLCK;
    return -1;
}

struct LockCallFor {
    explicit LockCallFor(int (*call)(int, int)) { AdiTempFiles::SetLockCall(call); }
    ~LockCallFor() { AdiTempFiles::SetLockCall(nullptr); }
};

// Any name that can be made is replaced again, and however the file system treats locks,
// nothing but the output is left in its folder. A 251- to 255-byte name was written once and
// never replaced ("File name too long" for the temporary name); where flock gave ENOLCK, each
// attempt left a file behind until the run failed with "File exists".
TEST(AdiOutputFile, AnyNameThatCanBeMadeIsReplacedAndNothingElseIsLeft) {
    const std::string e = "\xc3\xa9";  // one letter, two bytes
    const struct {
        const char* name;
        std::string file;
        bool noLocks;
    } cases[] = {
        {"the usual name", "adiUpld2Morvask.adi", false},
        {"a 251-byte name", std::string(247, 'a') + ".adi", false},
        {"a 255-byte name", std::string(251, 'a') + ".adi", false},
        {"a 255-byte name whose cut falls inside a letter", std::string(233, 'a') + e + e + e + e + e + e + e + e + e,
         false},
        {"no locks", "adiUpld2Morvask.adi", true},
        {"no locks and a 255-byte name", std::string(251, 'a') + ".adi", true},
    };
    for (const auto& row : cases) {
        for (Staging staging : {Staging::Named, Staging::Unnamed}) {
            SCOPED_TRACE(std::string(row.name) + (staging == Staging::Named ? ", named" : ", unnamed"));
            ASSERT_LE(row.file.size(), 255u);
            std::optional<LockCallFor> locks;
            if (row.noLocks) locks.emplace(NoLocks);
            TempDir dir;
            const std::string adi = dir.File(row.file);
            try {
                for (const char* text : {"first\r\n", "second\r\n"}) {
                    AdiOutputFile file(adi, staging);
                    file.Write(text);
                    file.Commit();
                }
                AdiOutputFile abandoned(adi, staging);
                abandoned.Write("abandoned\r\n");
            } catch (const CFileException& error) {
                ADD_FAILURE() << error.what();
            }
            EXPECT_EQ(ReadFile(adi), "second\r\n");
            EXPECT_EQ(dir.Entries(), std::vector<std::string>{row.file});
        }
    }
    // The temporary names of one long output name all fit, and each is known as ours.
    const std::string longest = std::string(251, 'a') + ".adi";
    const std::string temporary = AdiTempFiles::Name(longest, 4194304, 100);
    EXPECT_LE(temporary.size(), 255u);
    EXPECT_TRUE(AdiTempFiles::IsOurs(temporary, longest));
    EXPECT_FALSE(AdiTempFiles::IsOurs(AdiTempFiles::Name("other.adi", 12, 0), longest));
}

}  // namespace
