#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/unit/ExportTestSupport.h"

// morvask-export started as the desktop program or a script starts it: its own process,
// standard output and error caught in files.
class ExporterProcess {
public:
    struct Options {
        std::optional<rlim_t> fileSizeLimit;  // RLIMIT_FSIZE of the child
        int stdoutFd = -1;                    // instead of the capture file
        // The child's WINEPREFIX; by default one that does not exist, so that no run sees
        // the tester's own settings file.
        std::string winePrefix = "/nonexistent/morvask-test-prefix";
    };

    ExporterProcess(const std::vector<std::string>& args, const Options& options) {
        std::string outPath = m_capture.File("stdout"), errPath = m_capture.File("stderr");
        m_pid = fork();
        if (m_pid == 0) {
            int out = options.stdoutFd >= 0 ? options.stdoutFd : open(outPath.c_str(), O_WRONLY | O_CREAT, 0600);
            int err = open(errPath.c_str(), O_WRONLY | O_CREAT, 0600);
            dup2(out, STDOUT_FILENO);
            dup2(err, STDERR_FILENO);
            if (options.fileSizeLimit) {
                rlimit limit{*options.fileSizeLimit, *options.fileSizeLimit};
                setrlimit(RLIMIT_FSIZE, &limit);
            }
            setenv("WINEPREFIX", options.winePrefix.c_str(), 1);
            std::vector<char*> argv;
            std::string program = std::string(MORVASK_BIN_DIR) + "/morvask-export";
            argv.push_back(program.data());
            std::vector<std::string> copy = args;
            for (std::string& arg : copy) argv.push_back(arg.data());
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
    }
    explicit ExporterProcess(const std::vector<std::string>& args) : ExporterProcess(args, Options{}) {}

    pid_t Pid() const { return m_pid; }

    // The exit code, or 128 + the signal that ended it.
    int Wait() {
        int status = 0;
        while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    std::string Stdout() const { return ReadFile(m_capture.File("stdout")); }
    std::string Stderr() const { return ReadFile(m_capture.File("stderr")); }

private:
    TempDir m_capture;
    pid_t m_pid = -1;
};
