#include "cli/FatalSignalReport.h"

#include <signal.h>

#include <cerrno>
#include <string>

#include "cli/ExportFailure.h"
#include "cli/ProgressRecord.h"
#include "data/WriteAll.h"

namespace {

int g_progressFd = -1;
// Made before any signal comes: the handler only writes them.
std::string g_records[NSIG];

void TellAndDie(int sig) {
    const int saved = errno;
    // write and poll only, both safe in a signal handler.
    WriteAll(g_progressFd, g_records[sig]);
    errno = saved;
    // The handler was reset as it ran: the signal now ends the process as it would have.
    ::raise(sig);
}

bool EndsTheProcess(int sig) {
    switch (sig) {
    case SIGSEGV:
    case SIGBUS:
    case SIGABRT:
    case SIGFPE:
    case SIGILL:
    case SIGTRAP:
    case SIGSYS:
    case SIGXCPU:
    case SIGQUIT:
    case SIGUSR1:
    case SIGUSR2:
    case SIGALRM:
    case SIGVTALRM:
    case SIGPROF:
    case SIGPOLL:
    case SIGPWR:
    case SIGSTKFLT:
        return true;
    default:
        return sig >= SIGRTMIN && sig <= SIGRTMAX;
    }
}

}  // namespace

void FatalSignalReport::Install(int progressFd) {
    g_progressFd = progressFd;
    struct sigaction tell {};
    tell.sa_handler = TellAndDie;
    tell.sa_flags = SA_RESETHAND | SA_NODEFER;
    sigemptyset(&tell.sa_mask);
    for (int sig = 1; sig < NSIG; ++sig) {
        if (!EndsTheProcess(sig)) continue;
        struct sigaction current {};
        // A signal ignored by whoever started the exporter stays ignored, and one that is
        // handled already (by the sanitizers' fault handlers) stays theirs.
        if (::sigaction(sig, nullptr, &current) != 0 || current.sa_handler != SIG_DFL ||
            (current.sa_flags & SA_SIGINFO) != 0)
            continue;
        g_records[sig] = ProgressRecord::Failure(ExportFailure::FromProcessEnd(true, sig));
        ::sigaction(sig, &tell, nullptr);
    }
}
