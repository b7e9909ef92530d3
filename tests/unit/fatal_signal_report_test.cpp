#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "cli/ExportFailure.h"
#include "cli/FatalSignalReport.h"
#include "cli/ProgressRecord.h"

namespace {

struct Death {
    std::string told;
    int signal = 0;
};

// A child that has the report installed and then gets `sig`: what it told on its channel,
// and the signal it died of (0 when it did not die of one).
Death DieOf(int sig) {
    int fds[2];
    EXPECT_EQ(::pipe(fds), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        const struct rlimit noCore {};
        ::setrlimit(RLIMIT_CORE, &noCore);
        FatalSignalReport::Install(fds[1]);
        ::raise(sig);
        ::_exit(0);
    }
    ::close(fds[1]);
    Death death;
    char buffer[256];
    for (ssize_t got; (got = ::read(fds[0], buffer, sizeof buffer)) > 0;) death.told.append(buffer, got);
    ::close(fds[0]);
    int status = 0;
    EXPECT_EQ(::waitpid(child, &status, 0), child);
    if (WIFSIGNALED(status)) death.signal = WTERMSIG(status);
    return death;
}

// The desktop program cannot learn from Qt which signal ended the exporter: the exporter tells
// it, in the very words the desktop program would have chosen, and still dies of it, so that
// whoever else waits for it (a shell, a core dump) sees the same end as before. (Not SIGSEGV
// here: the sanitizer build keeps its own handler for it.)
TEST(FatalSignalReport, ASignalThatEndsTheExporterIsToldAsItsEndWouldTellIt) {
    for (const int sig : {SIGABRT, SIGILL, SIGUSR1, SIGALRM, SIGRTMIN + 2}) {
        SCOPED_TRACE(sig);
        const Death death = DieOf(sig);
        EXPECT_EQ(death.told, ProgressRecord::Failure(ExportFailure::FromProcessEnd(true, sig)));
        EXPECT_EQ(death.signal, sig);
    }
}

// SIGKILL is the one signal nothing can catch: nothing is told, which is how the desktop
// program knows it from the others.
TEST(FatalSignalReport, SigkillTellsNothing) {
    const Death death = DieOf(SIGKILL);
    EXPECT_EQ(death.told, "");
    EXPECT_EQ(death.signal, SIGKILL);
}

}  // namespace
