#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

// A forked child that does one piece of reading and sends its results up a pipe. The
// child's standard output and error go to /dev/null and it may grow by no more than its
// memory limit beyond what it inherited, so
// whatever the library inside it prints, crashes on or eats stays in the child. The
// parent only reads, with a deadline for each wait.
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
    // Appends whatever arrives to buffer, waiting at most timeout for the first byte.
    ReadResult Read(std::string& buffer, std::chrono::milliseconds timeout);

    // Waits (up to timeout, then kills) for the child to end. Returns "" for a clean exit
    // with status 0, otherwise how it ended ("killed by signal 11", "exit status 3").
    std::string Reap(std::chrono::milliseconds timeout);
    void Kill();

private:
    pid_t m_pid = -1;
    int m_readFd = -1;
    std::string m_ending;
};
