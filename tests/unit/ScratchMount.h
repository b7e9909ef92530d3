#pragma once

#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>

#include <string>

// A small file system of its own on a directory, to meet a full disk or a read-only folder
// for real. It lives in a private mount namespace of this test process (and the processes
// it starts), so nothing of it outlives the process. Without the right to mount,
// Available() is false.
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

    // Without a mount: a file-size limit makes writes past it fail as a full disk does.
    // RLIM_INFINITY lifts it again.
    static void LimitFileSize(rlim_t bytes) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = bytes < limit.rlim_max ? bytes : limit.rlim_max;
        setrlimit(RLIMIT_FSIZE, &limit);
    }

private:
    std::string m_directory;
    bool m_mounted = false;
};
