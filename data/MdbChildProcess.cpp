#include "data/MdbChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

#include "data/CDaoException.h"
#include "data/FileDescriptor.h"
#include "data/SignalText.h"

namespace {

constexpr int kPipeBytes = 1 << 20;

// Everything here runs between fork and _exit: plain system calls only.
void SilenceStandardStreams() {
    int null = ::open("/dev/null", O_RDWR);
    if (null < 0) ::_exit(120);
    ::dup2(null, STDIN_FILENO);
    ::dup2(null, STDOUT_FILENO);
    ::dup2(null, STDERR_FILENO);
    if (null > STDERR_FILENO) ::close(null);
}

// The parent's handlers are copies that belong to the parent, as with exec: a stop signal
// must end the reader as a signal, so that the parent can tell it from a failure, and must
// not run the parent's clean-up in the reader.
void DefaultSignalHandlers() {
    struct sigaction defaults {};
    defaults.sa_handler = SIG_DFL;
    sigemptyset(&defaults.sa_mask);
    for (int sig = 1; sig < NSIG; ++sig) {
        struct sigaction current {};
        if (::sigaction(sig, nullptr, &current) != 0) continue;
        const bool caught =
            (current.sa_flags & SA_SIGINFO) != 0 || (current.sa_handler != SIG_DFL && current.sa_handler != SIG_IGN);
        if (caught) ::sigaction(sig, &defaults, nullptr);
    }
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

// Signals a process raises itself when something in it goes wrong. Any other signal
// was sent from outside: by the operator, the desktop program or the system.
bool IsCrash(int sig) {
    switch (sig) {
    case SIGSEGV:
    case SIGBUS:
    case SIGABRT:
    case SIGFPE:
    case SIGILL:
    case SIGTRAP:  // GLib's g_error, also when an allocation fails at the memory limit
    case SIGSYS:
    case SIGXCPU:
    case SIGXFSZ:
        return true;
    default:
        return false;
    }
}

MdbChildProcess::Ending Describe(int status) {
    using How = MdbChildProcess::Ending::How;
    if (WIFSIGNALED(status)) {
        int sig = WTERMSIG(status);
        if (!IsCrash(sig)) return {How::Interrupted, sig, {}};
        return {How::Failed, sig, "the reader was stopped by " + SignalText(sig)};
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) != 0)
        return {How::Failed, 0, "the reader ended with status " + std::to_string(WEXITSTATUS(status))};
    return {};
}

// The time a wait has lasted while this process was running. When the whole process group
// is stopped (Ctrl-Z at the terminal) and resumed, the clock has leapt ahead although the
// reader was stopped as well and had no chance to send anything: such a leap does not count.
class WaitClock {
public:
    explicit WaitClock(std::chrono::milliseconds limit) : m_limit(limit) {}

    // Rounded up, so that a wait for what is left always ends the allowance.
    std::chrono::milliseconds Left() const { return std::chrono::ceil<std::chrono::milliseconds>(m_limit - m_spent); }
    bool Over() const { return m_spent >= m_limit; }
    // After a wait that should have lasted no longer than `planned`.
    void Waited(std::chrono::milliseconds planned) {
        const auto now = std::chrono::steady_clock::now();
        const auto took = now - m_last;
        m_last = now;
        if (took <= planned + kLeap) m_spent += took;
    }

private:
    static constexpr std::chrono::milliseconds kLeap{250};
    std::chrono::steady_clock::duration m_limit;
    std::chrono::steady_clock::duration m_spent{0};
    std::chrono::steady_clock::time_point m_last = std::chrono::steady_clock::now();
};

}  // namespace

MdbChildProcess::MdbChildProcess(const std::function<int(int writeFd)>& body, std::size_t memoryLimitBytes) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        throw CDaoException(std::string("Cannot start the database reader: ") + std::strerror(errno) + ".");
    // A pipe that holds several of the reader's batches lets it read on while this
    // process is busy with the last one, instead of waiting for each to be taken. Where
    // the system allows less, the pipe keeps its size.
    (void)::fcntl(fds[0], F_SETPIPE_SZ, kPipeBytes);
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
        DefaultSignalHandlers();
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

MdbChildProcess::ReadResult MdbChildProcess::Read(std::span<char> room, std::size_t& got,
                                                  std::chrono::milliseconds timeout) {
    got = 0;
    if (m_readFd < 0) return ReadResult::EndOfStream;
    WaitClock clock(timeout);
    for (;;) {
        if (clock.Over()) return ReadResult::TimedOut;
        struct pollfd wait {};
        wait.fd = m_readFd;
        wait.events = POLLIN;
        const std::chrono::milliseconds planned = clock.Left();
        int ready = ::poll(&wait, 1, static_cast<int>(planned.count()));
        clock.Waited(planned);
        if (ready < 0) {
            if (errno == EINTR) continue;
            return ReadResult::EndOfStream;
        }
        if (ready == 0) continue;
        ssize_t count = ::read(m_readFd, room.data(), room.size());
        if (count < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            return ReadResult::EndOfStream;
        }
        if (count == 0) {
            ::close(m_readFd);
            m_readFd = -1;
            return ReadResult::EndOfStream;
        }
        got = static_cast<std::size_t>(count);
        return ReadResult::Data;
    }
}

void MdbChildProcess::Kill() {
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        Reap(std::chrono::milliseconds(0));
    }
}

std::optional<int> MdbChildProcess::StopSignal() const {
    if (m_pid <= 0) return std::nullopt;
    siginfo_t info{};
    // WNOWAIT: only looked at, so that the stop is still there to be seen next time.
    if (::waitid(P_PID, static_cast<id_t>(m_pid), &info, WSTOPPED | WNOHANG | WNOWAIT) != 0) return std::nullopt;
    if (info.si_pid != m_pid || info.si_code != CLD_STOPPED) return std::nullopt;
    return info.si_status;
}

MdbChildProcess::Ending MdbChildProcess::Reap(std::chrono::milliseconds timeout) {
    if (m_pid <= 0) return m_ending;
    // The reader's end is waited for, not polled: a pidfd becomes readable when it exits.
    // Each wait lasts a slice at most, so that a stop of the whole process group shows as a
    // leap of the clock and does not count. Where the kernel has no pidfd to give, the wait
    // falls back to short sleeps.
    const FileDescriptor ended(static_cast<int>(::syscall(SYS_pidfd_open, m_pid, 0)));
    constexpr std::chrono::milliseconds kSlice{100};
    constexpr std::chrono::milliseconds kNap{1};
    WaitClock clock(timeout);
    int status = 0;
    for (;;) {
        pid_t done = ::waitpid(m_pid, &status, WNOHANG);
        if (done == m_pid) break;
        if (done < 0 && errno != EINTR) {
            // Someone else reaped it (SIGCHLD ignored): the stream it sent is all there is.
            m_pid = -1;
            return m_ending = Ending{};
        }
        if (clock.Over()) {
            std::optional<int> stopped = StopSignal();
            ::kill(m_pid, SIGKILL);
            while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {}
            m_pid = -1;
            if (stopped) return m_ending = Ending{Ending::How::Interrupted, *stopped, {}};
            return m_ending = Ending{Ending::How::Failed, 0, "the reader did not finish"};
        }
        const std::chrono::milliseconds planned = ended.Get() >= 0 ? std::min(clock.Left(), kSlice) : kNap;
        if (ended.Get() >= 0) {
            pollfd exited{ended.Get(), POLLIN, 0};
            ::poll(&exited, 1, static_cast<int>(planned.count()));
        } else {
            std::this_thread::sleep_for(planned);
        }
        clock.Waited(planned);
    }
    m_pid = -1;
    return m_ending = Describe(status);
}
