#include "export/AdiOutputFile.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "export/CFileException.h"
#include "export/WriteAll.h"

namespace {

// Lines are gathered and handed to the system in blocks: one system call per line would
// cost more than the rest of the export.
constexpr std::size_t kBlockSize = 1 << 16;

// The temporary file of the run in progress, for RemoveUnfinished.
char g_unfinished[PATH_MAX];
volatile sig_atomic_t g_haveUnfinished = 0;

std::string DirectoryOf(const std::string& path) {
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

}  // namespace

AdiOutputFile::AdiOutputFile(std::string path) : m_path(std::move(path)) {
    std::string directory = DirectoryOf(m_path);
    std::string base = std::filesystem::path(m_path).filename().string();
    // O_EXCL with a name of our own, rather than mkstemp, so that the finished file gets
    // the usual permissions (0666 less the umask) like any file the program creates.
    for (unsigned attempt = 0; m_fd < 0; ++attempt) {
        m_tempPath = directory + "/." + base + "." + std::to_string(getpid()) + "-" + std::to_string(attempt) + ".tmp";
        m_fd = ::open(m_tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0 && (errno != EEXIST || attempt >= 100)) {
            int error = errno;
            m_tempPath.clear();
            throw CFileException("Cannot create the ADIF file \"" + m_path + "\": " + std::strerror(error) +
                                     ". Check that the folder \"" + directory +
                                     "\" exists and that you may write to it.",
                                 std::strerror(error));
        }
    }
    if (!g_haveUnfinished && m_tempPath.size() < sizeof g_unfinished) {
        std::memcpy(g_unfinished, m_tempPath.c_str(), m_tempPath.size() + 1);
        g_haveUnfinished = 1;
        m_registered = true;
    }
    m_buffer.reserve(kBlockSize);
}

AdiOutputFile::~AdiOutputFile() { Discard(); }

void AdiOutputFile::Discard() noexcept {
    if (m_registered) {
        g_haveUnfinished = 0;
        m_registered = false;
    }
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_tempPath.empty()) {
        ::unlink(m_tempPath.c_str());
        m_tempPath.clear();
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
    if (m_fd < 0) throw CFileException("The ADIF file \"" + m_path + "\" is already closed.");
    m_buffer.append(line);
    if (m_buffer.size() >= kBlockSize) Flush();
}

void AdiOutputFile::Flush() {
    if (!WriteAll(m_fd, m_buffer)) Fail("write", errno);
    m_buffer.clear();
}

void AdiOutputFile::Commit() {
    if (m_fd < 0) throw CFileException("The ADIF file \"" + m_path + "\" is already closed.");
    Flush();
    if (::fsync(m_fd) != 0) Fail("write", errno);
    int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0) Fail("write", errno);
    if (::rename(m_tempPath.c_str(), m_path.c_str()) != 0) Fail("replace", errno);
    m_tempPath.clear();
    Discard();
}
