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

int (*g_lockCall)(int, int) = ::flock;

// What a temporary name adds to the output name: two dots, a process id of up to ten
// digits, the dash, an attempt of up to three and ".tmp".
constexpr std::size_t kNameOverhead = 2 + 10 + 1 + 3 + 4;

// The output name as it stands in a temporary name: whole when it fits, otherwise cut before
// the character that would pass the limit, never inside a UTF-8 sequence.
std::string Stem(const std::string& outputName, std::size_t nameMax) {
    if (outputName.size() + kNameOverhead <= nameMax) return outputName;
    std::size_t cut = nameMax > kNameOverhead ? nameMax - kNameOverhead : 0;
    while (cut > 0 && (static_cast<unsigned char>(outputName[cut]) & 0xC0) == 0x80) --cut;
    return outputName.substr(0, cut);
}

// ".<output name>." as a temporary name starts; appended piece by piece, which GCC 12 does
// not mistake for an overlapping copy as it does "." + name.
std::string Head(const std::string& outputName, std::size_t nameMax) {
    std::string head(1, '.');
    head += Stem(outputName, nameMax);
    head += '.';
    return head;
}

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
    if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && AdiTempFiles::Lock(fd, false) == 0 &&
        ::fstatat(dirFd, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_dev == held.st_dev &&
        named.st_ino == held.st_ino)
        ::unlinkat(dirFd, name.c_str(), 0);
    ::close(fd);
}

}  // namespace

std::string AdiTempFiles::Name(const std::string& outputName, long pid, unsigned attempt, std::size_t nameMax) {
    return Head(outputName, nameMax) + std::to_string(pid) + "-" + std::to_string(attempt) + ".tmp";
}

bool AdiTempFiles::IsOurs(const std::string& entry, const std::string& outputName, std::size_t nameMax) {
    const std::string head = Head(outputName, nameMax), tail = ".tmp";
    if (entry.size() <= head.size() + tail.size() || entry.compare(0, head.size(), head) != 0 ||
        entry.compare(entry.size() - tail.size(), tail.size(), tail) != 0)
        return false;
    const std::string middle = entry.substr(head.size(), entry.size() - head.size() - tail.size());
    const std::size_t dash = middle.find('-');
    return dash != std::string::npos && AllDigits(middle.substr(0, dash)) && AllDigits(middle.substr(dash + 1));
}

std::size_t AdiTempFiles::NameMax(const std::string& directory) {
    const long limit = ::pathconf(directory.c_str(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<std::size_t>(limit) : kDefaultNameMax;
}

int AdiTempFiles::Lock(int fd, bool wait) { return g_lockCall(fd, wait ? LOCK_EX : LOCK_EX | LOCK_NB); }

void AdiTempFiles::SetLockCall(int (*call)(int fd, int operation)) { g_lockCall = call ? call : ::flock; }

void AdiTempFiles::SweepStale(const std::string& directory, const std::string& outputName) noexcept {
    try {
        std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(directory.c_str()), ::closedir);
        if (!dir) return;
        const std::size_t nameMax = NameMax(directory);
        std::vector<std::string> ours;
        while (const dirent* entry = ::readdir(dir.get()))
            if (IsOurs(entry->d_name, outputName, nameMax)) ours.emplace_back(entry->d_name);
        for (const std::string& name : ours) RemoveIfStale(::dirfd(dir.get()), name);
    } catch (...) {
        // Out of memory while listing: the leftovers wait for the next run.
    }
}
