#include "export/AdiTempFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <vector>

namespace {

bool AllDigits(const std::string& text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// Removes `name` in the folder `dirFd` when it is a regular file that no writer holds.
void RemoveIfStale(int dirFd, const std::string& name) {
    const int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;
    // A replaced file's copied mode may deny reading, but hardly both reading and writing.
    int fd = ::openat(dirFd, name.c_str(), O_RDONLY | flags);
    if (fd < 0 && errno == EACCES) fd = ::openat(dirFd, name.c_str(), O_WRONLY | flags);
    if (fd < 0) return;
    struct stat held {
    }, named{};
    if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        ::fstatat(dirFd, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_dev == held.st_dev &&
        named.st_ino == held.st_ino)
        ::unlinkat(dirFd, name.c_str(), 0);
    ::close(fd);
}

}  // namespace

std::string AdiTempFiles::Name(const std::string& outputName, long pid, unsigned attempt) {
    return "." + outputName + "." + std::to_string(pid) + "-" + std::to_string(attempt) + ".tmp";
}

bool AdiTempFiles::IsOurs(const std::string& entry, const std::string& outputName) {
    const std::string head = "." + outputName + ".", tail = ".tmp";
    if (entry.size() <= head.size() + tail.size() || entry.compare(0, head.size(), head) != 0 ||
        entry.compare(entry.size() - tail.size(), tail.size(), tail) != 0)
        return false;
    const std::string middle = entry.substr(head.size(), entry.size() - head.size() - tail.size());
    const std::size_t dash = middle.find('-');
    return dash != std::string::npos && AllDigits(middle.substr(0, dash)) && AllDigits(middle.substr(dash + 1));
}

void AdiTempFiles::SweepStale(const std::string& directory, const std::string& outputName) noexcept {
    try {
        std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(directory.c_str()), ::closedir);
        if (!dir) return;
        std::vector<std::string> ours;
        while (const dirent* entry = ::readdir(dir.get()))
            if (IsOurs(entry->d_name, outputName)) ours.emplace_back(entry->d_name);
        for (const std::string& name : ours) RemoveIfStale(::dirfd(dir.get()), name);
    } catch (...) {
        // Out of memory while listing: the leftovers wait for the next run.
    }
}
