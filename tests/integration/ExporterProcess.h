#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/unit/ExportTestSupport.h"

// morvask-export (or another program) in a process of its own, as the desktop program starts
// it; standard error (and standard output, unless stdoutFd names another place or is
// kClosedInputAndOutput) caught in files.
// WINEPREFIX is set for the child; by default to a prefix that does not exist, so that no
// run sees the tester's own settings file.
class ExporterProcess {
public:
    static constexpr const char* kNoWinePrefix = "/nonexistent/morvask-test-prefix";
    // As stdoutFd: the exporter starts with its standard input and output closed ("<&- >&-").
    static constexpr int kClosedInputAndOutput = -2;

    explicit ExporterProcess(std::vector<std::string> args, int stdoutFd = -1,
                             const std::string& winePrefix = kNoWinePrefix,
                             std::string program = MORVASK_BIN_DIR "/morvask-export") {
        std::string outPath = m_capture.File("stdout"), errPath = m_capture.File("stderr");
        std::vector<char*> argv = {program.data()};
        for (std::string& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        m_pid = fork();
        if (m_pid == 0) {
            dup2(open(errPath.c_str(), O_WRONLY | O_CREAT, 0600), STDERR_FILENO);
            if (stdoutFd == kClosedInputAndOutput) {
                close(STDIN_FILENO);
                close(STDOUT_FILENO);
            } else {
                dup2(stdoutFd >= 0 ? stdoutFd : open(outPath.c_str(), O_WRONLY | O_CREAT, 0600), STDOUT_FILENO);
            }
            setenv("WINEPREFIX", winePrefix.c_str(), 1);
            execvp(program.c_str(), argv.data());
            _exit(127);
        }
    }

    pid_t Pid() const { return m_pid; }
    // The exit code, or 128 + the signal that ended the process; -1 for a process still
    // running after `limit`, which is then killed.
    int Wait(std::chrono::milliseconds limit = std::chrono::minutes(2)) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        int status = 0;
        while (waitpid(m_pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                kill(m_pid, SIGKILL);
                waitpid(m_pid, &status, 0);
                return -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    std::string Stdout() const { return ReadFile(m_capture.File("stdout")); }
    std::string Stderr() const { return ReadFile(m_capture.File("stderr")); }

    // Another program (found in PATH when it has no folder) run to its end: its exit code,
    // and what it wrote to standard output, then standard error.
    static std::pair<int, std::string> Run(const std::string& program, const std::vector<std::string>& args) {
        ExporterProcess run(args, -1, kNoWinePrefix, program);
        const int status = run.Wait();
        return {status, run.Stdout() + run.Stderr()};
    }

private:
    TempDir m_capture;
    pid_t m_pid = -1;
};
