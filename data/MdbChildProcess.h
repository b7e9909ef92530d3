#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>

// A forked child that does one piece of reading and sends its results up a pipe. The
// child's standard output and error go to /dev/null and it may grow by no more than its
// memory limit beyond what it inherited, so whatever the library inside it prints, crashes
// on or eats stays in the child. The parent only reads, with a deadline for each wait.
//
// Fork without exec: the callers are single-threaded command-line programs and tests.
class MdbChildProcess {
public:
    // body runs in the child and writes to the descriptor it is given; its return value
    // becomes the exit status.
    MdbChildProcess(const std::function<int(int writeFd)>& body, std::size_t memoryLimitBytes);
    // Kills the child if it is still running and reaps it.
    ~MdbChildProcess();
    MdbChildProcess(const MdbChildProcess&) = delete;
    MdbChildProcess& operator=(const MdbChildProcess&) = delete;

    enum class ReadResult { Data, EndOfStream, TimedOut };
    // Reads whatever arrives into room (not empty), waiting at most timeout for the first
    // byte; got is the number of bytes read (Data only). Time in which this process itself
    // was stopped (Ctrl-Z stops the reader with it) does not count.
    ReadResult Read(std::span<char> room, std::size_t& got, std::chrono::milliseconds timeout);

    // How the child ended. A crash (a fault signal such as SIGSEGV, SIGABRT, or SIGTRAP from
    // GLib's allocator at the memory limit) or a status other than 0 is a failure of the
    // reading; any other signal came from outside and says nothing about the file.
    struct Ending {
        enum class How { Clean, Failed, Interrupted };
        How how = How::Clean;
        int signal = 0;    // Interrupted: the signal that ended the child or holds it stopped
        std::string text;  // Failed: "the reader was stopped by signal 11 (Segmentation fault)"
    };

    // Waits (up to timeout, then kills) for the child to end. A child that cannot be waited
    // for (someone else reaped it) counts as Clean: the stream it sent is all there is.
    Ending Reap(std::chrono::milliseconds timeout);
    void Kill();
    // The signal that holds the child stopped (SIGSTOP, SIGTSTP, ...); none while it runs.
    std::optional<int> StopSignal() const;

private:
    pid_t m_pid = -1;
    int m_readFd = -1;
    Ending m_ending;
};
