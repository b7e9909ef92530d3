// Runs a command and writes the peak memory of it and of every process it starts, each on
// its own line, to a file. GNU time reports only the largest peak of a whole process tree,
// and the exporter's readers are forked children that the exporter reaps itself.
//
//     morvask-process-peaks OUTFILE COMMAND [ARGS...]
//
// Each line of OUTFILE: pid, parent pid, name, peak resident set (VmHWM) in KiB and the
// processor time (user and system) in milliseconds, the started command first. The processes are followed with ptrace,
// which stops them only when they fork, exec or exit, so their speed is hardly touched (time them apart all the same).
// Exits with the command's status.

#include <signal.h>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

namespace {

struct Peak {
    long parent = 0;
    std::string name;
    long kib = 0;
    long cpuMs = 0;
};

// User and system time of a whole process, in milliseconds.
long ProcessorMs(long tgid) {
    std::ifstream stat("/proc/" + std::to_string(tgid) + "/stat");
    std::string line;
    std::getline(stat, line);
    // The name in parentheses may hold blanks; the fields after it are plain numbers.
    const std::size_t close = line.rfind(')');
    if (close == std::string::npos) return 0;
    std::istringstream fields(line.substr(close + 2));
    std::string field;
    long user = 0, system = 0;
    for (int number = 3; fields >> field; ++number) {
        if (number == 14) user = std::stol(field);
        if (number == 15) system = std::stol(field);
    }
    return (user + system) * 1000 / ::sysconf(_SC_CLK_TCK);
}

// Name, Tgid, PPid, VmHWM and processor time of a task, read while it stops on its way out.
void Record(pid_t task, std::map<long, Peak>& peaks) {
    std::ifstream status("/proc/" + std::to_string(task) + "/status");
    std::string key, name;
    long tgid = task, parent = 0, kib = 0;
    while (status >> key) {
        if (key == "Name:") status >> name;
        if (key == "Tgid:") status >> tgid;
        if (key == "PPid:") status >> parent;
        if (key == "VmHWM:") status >> kib;
        status.ignore(1 << 20, '\n');
    }
    Peak& peak = peaks[tgid];
    if (peak.name.empty()) peak = {parent, name, 0, 0};
    if (kib > peak.kib) peak.kib = kib;
    const long cpuMs = ProcessorMs(tgid);
    if (cpuMs > peak.cpuMs) peak.cpuMs = cpuMs;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTFILE COMMAND [ARGS...]\n", argv[0]);
        return 2;
    }
    const pid_t root = ::fork();
    if (root < 0) {
        std::perror("fork");
        return 2;
    }
    if (root == 0) {
        ::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        ::raise(SIGSTOP);
        ::execvp(argv[2], argv + 2);
        std::perror(argv[2]);
        ::_exit(127);
    }
    int status = 0;
    if (::waitpid(root, &status, 0) != root || !WIFSTOPPED(status)) return 2;
    const long options = PTRACE_O_TRACEFORK | PTRACE_O_TRACEVFORK | PTRACE_O_TRACECLONE | PTRACE_O_TRACEEXEC |
                         PTRACE_O_TRACEEXIT | PTRACE_O_EXITKILL;
    if (::ptrace(PTRACE_SETOPTIONS, root, nullptr, reinterpret_cast<void*>(options)) != 0) {
        std::perror("ptrace");
        ::kill(root, SIGKILL);
        return 2;
    }
    ::ptrace(PTRACE_CONT, root, nullptr, nullptr);

    std::map<long, Peak> peaks;
    std::set<pid_t> known = {root};
    int exitCode = 0;
    for (;;) {
        const pid_t task = ::waitpid(-1, &status, __WALL);
        if (task < 0) {
            if (errno == EINTR) continue;
            break;  // ECHILD: every traced task has ended
        }
        if (WIFEXITED(status) || WIFSIGNALED(status)) {
            if (task == root) exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            continue;
        }
        if (!WIFSTOPPED(status)) continue;
        const int event = status >> 16;
        int deliver = 0;
        if (event == PTRACE_EVENT_EXIT) {
            Record(task, peaks);
        } else if (event == 0) {
            const int signal = WSTOPSIG(status);
            // A newly followed task starts with a SIGSTOP of ptrace's own.
            if (signal == SIGSTOP && known.insert(task).second) {
                deliver = 0;
            } else if (signal != SIGTRAP) {
                deliver = signal;
            }
        }
        ::ptrace(PTRACE_CONT, task, nullptr, reinterpret_cast<void*>(static_cast<long>(deliver)));
    }

    std::ofstream out(argv[1]);
    auto write = [&out](long pid, const Peak& peak) {
        out << pid << ' ' << peak.parent << ' ' << peak.name << ' ' << peak.kib << ' ' << peak.cpuMs << '\n';
    };
    for (const auto& [pid, peak] : peaks)
        if (pid == root) write(pid, peak);
    for (const auto& [pid, peak] : peaks)
        if (pid != root) write(pid, peak);
    return exitCode;
}
