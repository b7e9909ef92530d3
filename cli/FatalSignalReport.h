#pragma once

// The signals that end the exporter without its say: a fault of its own (SIGSEGV, SIGABRT,
// ...) and every other signal whose default is to end a process, the stop signals SIGTERM,
// SIGINT and SIGHUP apart, on which the exporter ends itself (kExitStoppedBase + N). Qt leaves
// the exit code of a process that died of a signal undefined, so the desktop program cannot
// learn which one it was: the exporter tells it on the progress channel, as the failure record
// the desktop program would have made of it, and then dies of it all the same. Only SIGKILL
// cannot be caught, so an exporter that died of a signal it did not tell was killed.
namespace FatalSignalReport {

// Tells every such signal on progressFd from now on. Call once, when the descriptor is known.
void Install(int progressFd);

}  // namespace FatalSignalReport
