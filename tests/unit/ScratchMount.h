#pragma once

#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>

#include <string>

// A small file system of its own on a directory, to meet a full disk or a read-only
// folder for real. It lives in a private mount namespace of this test process, so that
// nothing of it outlives the process or shows outside it. Without the right to mount
// (not root), Available() is false and the caller falls back to other means.
class ScratchMount {
public:
    ScratchMount(const std::string& directory, const std::string& options) : m_directory(directory) {
        m_mounted = unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                    mount("tmpfs", directory.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~ScratchMount() {
        if (m_mounted) umount2(m_directory.c_str(), MNT_DETACH);
    }
    ScratchMount(const ScratchMount&) = delete;
    ScratchMount& operator=(const ScratchMount&) = delete;

    bool Available() const { return m_mounted; }
    bool Remount(const std::string& options, unsigned long flags = 0) {
        return mount("tmpfs", m_directory.c_str(), "tmpfs", MS_REMOUNT | flags, options.c_str()) == 0;
    }

private:
    std::string m_directory;
    bool m_mounted = false;
};

// Without a mount: a file-size limit makes writes past it fail as a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_savedHandler = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        signal(SIGXFSZ, m_savedHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_saved{};
    sighandler_t m_savedHandler;
};
