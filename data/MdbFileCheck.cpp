#include "data/MdbFileCheck.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "data/CDaoException.h"
#include "data/FileDescriptor.h"
#include "data/FileTypeText.h"
#include "data/MdbMessages.h"

namespace {

// Bytes 4 to 19 of the first page: "Standard Jet DB" for Access 97 to 2003 files,
// "Standard ACE DB" for the later ones, each with its terminating zero.
constexpr std::size_t kSignatureOffset = 4;
constexpr std::size_t kSignatureLength = 16;
constexpr std::size_t kVersionOffset = 0x14;
// Version byte 0 is Jet 3 (2 KB pages); 1 is Jet 4 and 2 to 6 the Access 2007 to 2019
// formats (4 KB pages). libmdb knows no others.
constexpr unsigned char kLastKnownVersion = 0x06;

}  // namespace

void MdbFileCheck::Check(const std::string& path) {
    // Looked at before it is opened: opening a named pipe waits for a writer that may never
    // come, and opening a device can have effects of its own.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        int error = errno;
        if (error == ENOENT || error == ENOTDIR || path.empty()) throw MdbMessages::NotFound(path);
        throw MdbMessages::Unreadable(path, std::strerror(error));
    }
    if (!S_ISREG(info.st_mode)) throw MdbMessages::NotAccess(path, std::string("it is ") + FileTypeText(info.st_mode));
    // O_NONBLOCK as well, in case something else has taken the file's place since.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.Get() < 0) {
        int error = errno;
        if (error == ENOENT || error == ENOTDIR) throw MdbMessages::NotFound(path);
        throw MdbMessages::Unreadable(path, std::strerror(error));
    }
    if (::fstat(fd.Get(), &info) != 0) throw MdbMessages::Unreadable(path, std::strerror(errno));
    if (!S_ISREG(info.st_mode)) throw MdbMessages::NotAccess(path, std::string("it is ") + FileTypeText(info.st_mode));
    if (info.st_size == 0) throw MdbMessages::NotAccess(path, "the file is empty");

    std::array<unsigned char, kVersionOffset + 1> head{};
    ssize_t got = ::pread(fd.Get(), head.data(), head.size(), 0);
    if (got < 0) throw MdbMessages::Unreadable(path, std::strerror(errno));
    if (static_cast<std::size_t>(got) < head.size())
        throw MdbMessages::NotAccess(path, "the file is too short to be one");

    static const char jet[] = "Standard Jet DB";
    static const char ace[] = "Standard ACE DB";
    const unsigned char* signature = head.data() + kSignatureOffset;
    if (std::memcmp(signature, jet, kSignatureLength) != 0 && std::memcmp(signature, ace, kSignatureLength) != 0)
        throw MdbMessages::NotAccess(path, "the Access signature is missing");

    unsigned char version = head[kVersionOffset];
    if (version > kLastKnownVersion)
        throw MdbMessages::NotAccess(path, "unknown format version " + std::to_string(static_cast<int>(version)));

    const std::size_t pageSize = version == 0 ? 2048 : 4096;
    const auto size = static_cast<std::size_t>(info.st_size);
    // The first page describes the database and the second holds the free-space map; a
    // file without both, or one that ends inside a page, has been cut short.
    if (size < 2 * pageSize) throw MdbMessages::Damaged(path, "the file is shorter than two pages");
    if (size % pageSize != 0) throw MdbMessages::Damaged(path, "the file ends inside a page");
}
