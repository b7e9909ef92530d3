#include "data/MdbChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "data/CDaoException.h"

namespace {

constexpr std::size_t kReadChunk = 256 * 1024;

// Everything here runs between fork and _exit: plain system calls only.
void SilenceStandardStreams() {
    int null = ::open("/dev/null", O_RDWR);
    if (null < 0) ::_exit(120);
    ::dup2(null, STDIN_FILENO);
    ::dup2(null, STDOUT_FILENO);
    ::dup2(null, STDERR_FILENO);
    if (null > STDERR_FILENO) ::close(null);
}

// The address space the process already has: the fork inherits the parent's mappings,
// which must not count against the reader's own allowance.
std::size_t CurrentAddressSpace() {
    int fd = ::open("/proc/self/statm", O_RDONLY);
    if (fd < 0) return 0;
    char text[64] = {};
    ssize_t got = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    std::size_t pages = 0;
    for (ssize_t i = 0; i < got && text[i] >= '0' && text[i] <= '9'; ++i)
        pages = pages * 10 + static_cast<std::size_t>(text[i] - '0');
    return pages * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

std::string Describe(int status) {
    if (WIFSIGNALED(status)) {
        int sig = WTERMSIG(status);
        const char* name = ::sigdescr_np(sig);
        return "the reader was stopped by signal " + std::to_string(sig) + (name ? std::string(" (") + name + ")" : "");
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) != 0)
        return "the reader ended with status " + std::to_string(WEXITSTATUS(status));
    return "";
}

}  // namespace

MdbChildProcess::MdbChildProcess(const std::function<int(int writeFd)>& body, std::size_t memoryLimitBytes) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        throw CDaoException(std::string("Cannot start the database reader: ") + std::strerror(errno) + ".");
    pid_t pid = ::fork();
    if (pid < 0) {
        int error = errno;
        ::close(fds[0]);
        ::close(fds[1]);
        throw CDaoException(std::string("Cannot start the database reader: ") + std::strerror(error) + ".");
    }
    if (pid == 0) {
        ::close(fds[0]);
        ::signal(SIGPIPE, SIG_DFL);
        SilenceStandardStreams();
        struct rlimit limit {};
        limit.rlim_cur = limit.rlim_max = CurrentAddressSpace() + memoryLimitBytes;
        ::setrlimit(RLIMIT_AS, &limit);
        int code = 121;
        try {
            code = body(fds[1]);
        } catch (...) {
            code = 122;
        }
        // _exit, not exit: the parent's unflushed stdio buffers and static objects are
        // copies that belong to the parent.
        ::_exit(code);
    }
    ::close(fds[1]);
    m_pid = pid;
    m_readFd = fds[0];
}

MdbChildProcess::~MdbChildProcess() {
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        int status = 0;
        while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {}
    }
    if (m_readFd >= 0) ::close(m_readFd);
}

MdbChildProcess::ReadResult MdbChildProcess::Read(std::string& buffer, std::chrono::milliseconds timeout) {
    if (m_readFd < 0) return ReadResult::EndOfStream;
    auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() < 0) return ReadResult::TimedOut;
        struct pollfd wait {};
        wait.fd = m_readFd;
        wait.events = POLLIN;
        int ready = ::poll(&wait, 1, static_cast<int>(left.count()));
        if (ready < 0) {
            if (errno == EINTR) continue;
            return ReadResult::EndOfStream;
        }
        if (ready == 0) return ReadResult::TimedOut;
        std::size_t old = buffer.size();
        buffer.resize(old + kReadChunk);
        ssize_t got = ::read(m_readFd, buffer.data() + old, kReadChunk);
        if (got < 0) {
            buffer.resize(old);
            if (errno == EINTR || errno == EAGAIN) continue;
            return ReadResult::EndOfStream;
        }
        buffer.resize(old + static_cast<std::size_t>(got));
        if (got == 0) {
            ::close(m_readFd);
            m_readFd = -1;
            return ReadResult::EndOfStream;
        }
        return ReadResult::Data;
    }
}

void MdbChildProcess::Kill() {
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        Reap(std::chrono::milliseconds(0));
    }
}

std::string MdbChildProcess::Reap(std::chrono::milliseconds timeout) {
    if (m_pid <= 0) return m_ending;
    auto deadline = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    for (;;) {
        pid_t done = ::waitpid(m_pid, &status, WNOHANG);
        if (done == m_pid) break;
        if (done < 0 && errno != EINTR) {
            // Someone else reaped it (SIGCHLD ignored): how it ended cannot be known, and
            // the stream it sent is all the evidence there is.
            m_pid = -1;
            return m_ending = "";
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(m_pid, SIGKILL);
            while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {}
            m_pid = -1;
            return m_ending = "the reader did not finish";
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    m_pid = -1;
    return m_ending = Describe(status);
}
