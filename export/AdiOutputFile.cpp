#include "export/AdiOutputFile.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "data/WriteAll.h"
#include "export/AdiTempFiles.h"
#include "export/CFileException.h"
#include "export/OutputTarget.h"

namespace {

// Lines are gathered and handed to the system in blocks: one system call per line would
// cost more than the rest of the export.
constexpr std::size_t kBlockSize = 1 << 16;
// Written blocks are handed to the disk every so often while the walk goes on, so that the
// fsync before the file is put in place waits only for the last of them.
constexpr off_t kWritebackStep = off_t{8} << 20;
constexpr unsigned kNameAttempts = 100;

// The named temporary file of the run in progress, for RemoveUnfinished.
char g_unfinished[PATH_MAX];
volatile sig_atomic_t g_haveUnfinished = 0;

std::string DirectoryOf(const std::string& path) {
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

CFileException NotReplaceable(const std::string& path, const OutputTarget& target) {
    return CFileException("The ADIF file cannot be written: " + target.Describe(path) +
                              ", not a file, and is left as it is. Name a file for the ADIF file.",
                          target.Describe(path) + ", not a file");
}

// The temporary file cannot be made: nothing has been written yet, so nothing is discarded.
CFileException CreateFailed(const std::string& path, const std::string& directory, int error) {
    const std::string reason = std::strerror(error);
    return CFileException("Cannot create the ADIF file \"" + path + "\": " + reason + ". Check that the folder \"" +
                              directory + "\" exists and that you may write to it.",
                          reason);
}

// Holds off the stop signals while the finished file is put in place, so that a run told to
// stop then either has not replaced the output yet or has replaced it whole.
class StopSignalsHeld {
public:
    StopSignalsHeld() {
        sigset_t stop;
        sigemptyset(&stop);
        for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&stop, sig);
        ::sigprocmask(SIG_BLOCK, &stop, &m_before);
    }
    ~StopSignalsHeld() { ::sigprocmask(SIG_SETMASK, &m_before, nullptr); }
    StopSignalsHeld(const StopSignalsHeld&) = delete;
    StopSignalsHeld& operator=(const StopSignalsHeld&) = delete;

private:
    sigset_t m_before;
};

// Gives the file to `owner` and `group` (-1 keeps either) where the system allows it; a
// refusal leaves the file as it was.
bool HandOver(int fd, uid_t owner, gid_t group) { return ::fchown(fd, owner, group) == 0; }

std::string ProcFdPath(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

}  // namespace

AdiOutputFile::AdiOutputFile(std::string path, Staging staging) : m_path(std::move(path)) {
    const OutputTarget target = OutputTarget::Resolve(m_path);
    if (!target.Replaceable()) throw NotReplaceable(m_path, target);
    m_directory = DirectoryOf(target.Path());
    m_name = std::filesystem::path(target.Path()).filename().string();
    m_nameMax = AdiTempFiles::NameMax(m_directory);
    AdiTempFiles::SweepStale(m_directory, m_name);
    if (staging == Staging::Named || !OpenUnnamed()) OpenNamed();
    m_block = std::make_unique_for_overwrite<char[]>(kBlockSize);
    LendRoom(m_block.get(), m_block.get() + kBlockSize);
}

AdiOutputFile::~AdiOutputFile() { Discard(); }

bool AdiOutputFile::OpenUnnamed() {
    // The file is given its name through /proc at the end; without /proc it could not be.
    if (::access("/proc/self/fd", X_OK) != 0) return false;
    m_fd = ::open(m_directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (m_fd < 0) {
        // Neither the kernel nor the file system says no to the folder itself here.
        if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) return false;
        throw CreateFailed(m_path, m_directory, errno);
    }
    // Locked from the start: the file gets a name for a moment at the end, when a sweep by
    // another run must not take it for a leftover.
    (void)AdiTempFiles::Lock(m_fd, true);
    m_unnamed = true;
    return true;
}

void AdiOutputFile::OpenNamed() {
    // O_EXCL with a name of our own, rather than mkstemp, so that the finished file gets
    // the usual permissions (0666 less the umask) like any file the program creates.
    for (unsigned attempt = 0;; ++attempt) {
        m_tempPath = m_directory + "/" + AdiTempFiles::Name(m_name, ::getpid(), attempt, m_nameMax);
        m_fd = ::open(m_tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0) {
            if (errno == EEXIST && attempt < kNameAttempts) continue;
            const int error = errno;
            m_tempPath.clear();
            throw CreateFailed(m_path, m_directory, error);
        }
        // Between the creation and the lock another run's sweep may have taken the new file
        // for a leftover: it then holds the lock or has removed the name, and we try anew.
        // Where the file system takes no locks (ENOLCK), no sweep can take it either, and
        // the file is used unlocked.
        const bool locked = AdiTempFiles::Lock(m_fd, false) == 0;
        const bool noLocks = !locked && errno != EWOULDBLOCK && errno != EAGAIN && errno != EINTR;
        struct stat held {
        }, named{};
        if ((locked || noLocks) && ::fstat(m_fd, &held) == 0 && ::lstat(m_tempPath.c_str(), &named) == 0 &&
            held.st_ino == named.st_ino && held.st_dev == named.st_dev)
            break;
        ::close(m_fd);
        m_fd = -1;
        if (attempt >= kNameAttempts) Fail("create", EEXIST);
    }
    if (!g_haveUnfinished && m_tempPath.size() < sizeof g_unfinished) {
        std::memcpy(g_unfinished, m_tempPath.c_str(), m_tempPath.size() + 1);
        g_haveUnfinished = 1;
        m_registered = true;
    }
}

void AdiOutputFile::Discard() noexcept {
    LendRoom(nullptr, nullptr);
    if (m_registered) {
        g_haveUnfinished = 0;
        m_registered = false;
    }
    if (!m_tempPath.empty()) {
        ::unlink(m_tempPath.c_str());
        m_tempPath.clear();
    }
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

void AdiOutputFile::RemoveUnfinished() noexcept {
    if (g_haveUnfinished) ::unlink(g_unfinished);
}

void AdiOutputFile::Fail(const std::string& doing, int error) {
    std::string reason = std::strerror(error);
    bool full = error == ENOSPC || error == EDQUOT || error == EFBIG;
    Discard();
    throw CFileException(
        "Cannot " + doing + " the ADIF file \"" + m_path + "\": " + reason +
            ". An earlier file there is left as it was; " +
            (full ? "free some disk space" : "check the output path and that you may write to its folder") +
            " and make the file again.",
        reason);
}

void AdiOutputFile::Write(std::string_view line) {
    char* room = LineRoom(line.size());
    if (!line.empty()) std::memcpy(room, line.data(), line.size());
    LineWritten();
}

// The block is full, or the file closed, which lends no room.
char* AdiOutputFile::RoomElsewhere(std::size_t size) {
    if (m_fd < 0) throw CFileException("The ADIF file \"" + m_path + "\" is already closed.");
    Flush();
    if (size < kBlockSize) return LineRoom(size);
    // A line as long as a block or longer (a memo of a megabyte) goes out on its own.
    m_longLine.resize(size);
    return m_longLine.data();
}

void AdiOutputFile::WrittenElsewhere() {
    Hand(m_longLine);
    m_longLine.clear();
    m_longLine.shrink_to_fit();
}

void AdiOutputFile::Flush() {
    Hand({m_block.get(), static_cast<std::size_t>(RoomTaken() - m_block.get())});
    LendRoom(m_block.get(), m_block.get() + kBlockSize);
}

void AdiOutputFile::Hand(std::string_view bytes) {
    if (!WriteAll(m_fd, bytes)) Fail("write", errno);
    m_written += static_cast<off_t>(bytes.size());
    if (m_written - m_handedToDisk >= kWritebackStep) {
        // Only a start: the fsync at the end still waits for every byte and reports errors.
        (void)::sync_file_range(m_fd, m_handedToDisk, m_written - m_handedToDisk, SYNC_FILE_RANGE_WRITE);
        m_handedToDisk = m_written;
    }
}

void AdiOutputFile::KeepOwnerAndMode(const struct stat& replaced) {
    struct stat mine {};
    if (::fstat(m_fd, &mine) != 0) Fail("replace", errno);
    // Only root may give a file away; anyone may hand it to a group of their own. What is
    // not allowed leaves the file the operator's, as any new file would be, and in the
    // operator's own group when the earlier file's group is not one of theirs either.
    if ((mine.st_uid != replaced.st_uid || mine.st_gid != replaced.st_gid) &&
        !HandOver(m_fd, replaced.st_uid, replaced.st_gid) && mine.st_gid != replaced.st_gid)
        HandOver(m_fd, static_cast<uid_t>(-1), replaced.st_gid);
    // After fchown, which clears the set-user-ID and set-group-ID bits.
    if (::fchmod(m_fd, replaced.st_mode & 07777) != 0) Fail("replace", errno);
}

void AdiOutputFile::PutInPlace(const std::string& target, bool targetExists) {
    if (m_unnamed) {
        const std::string self = ProcFdPath(m_fd);
        // Nothing there yet: the file gets its final name in one step and never another.
        if (!targetExists) {
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target.c_str(), AT_SYMLINK_FOLLOW) == 0) return;
            if (errno != EEXIST) Fail("create", errno);
        }
        // A name of our own first, then the rename over the earlier file, which is atomic. A
        // kill between the two leaves that name behind, unlocked: the next run removes it.
        for (unsigned attempt = 0;; ++attempt) {
            std::string name = m_directory + "/" + AdiTempFiles::Name(m_name, ::getpid(), attempt, m_nameMax);
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                m_tempPath = std::move(name);
                break;
            }
            if (errno != EEXIST || attempt >= kNameAttempts) Fail("replace", errno);
        }
    }
    if (::rename(m_tempPath.c_str(), target.c_str()) != 0) Fail("replace", errno);
    m_tempPath.clear();
}

void AdiOutputFile::Commit() {
    if (m_fd < 0) throw CFileException("The ADIF file \"" + m_path + "\" is already closed.");
    Flush();
    if (::fsync(m_fd) != 0) Fail("write", errno);
    // Looked at again: during a long walk a file may have come, gone or changed its kind.
    const OutputTarget target = OutputTarget::Resolve(m_path);
    if (!target.Replaceable()) {
        Discard();
        throw NotReplaceable(m_path, target);
    }
    if (target.Exists()) KeepOwnerAndMode(target.Status());
    {
        StopSignalsHeld held;
        PutInPlace(target.Path(), target.Exists());
        Discard();
    }
    // The new name lasts a crash of the machine only once the folder is on disk as well.
    int directory = ::open(m_directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory >= 0) {
        ::fsync(directory);
        ::close(directory);
    }
}
