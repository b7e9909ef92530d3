#include <signal.h>
#include <unistd.h>

#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/ExportCommand.h"
#include "cli/ExportOptions.h"
#include "cli/ExporterCommandLine.h"
#include "cli/StandardDescriptors.h"
#include "data/MdbEngine.h"
#include "export/AdiOutputFile.h"
#include "settings/WinePrefix.h"

namespace {

// A run that is told to stop leaves no half-written file behind: the temporary file goes,
// an earlier upload file stays, and the process ends at once.
void OnStop(int sig) {
    AdiOutputFile::RemoveUnfinished();
    ::_exit(ExporterCommandLine::kExitStoppedBase + sig);
}

void InstallSignalHandlers() {
    struct sigaction stop = {};
    stop.sa_handler = OnStop;
    sigemptyset(&stop.sa_mask);
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaction(sig, &stop, nullptr);
    // Errors on the progress descriptor and past a file-size limit are reported as errors
    // rather than ending the process without a word.
    signal(SIGPIPE, SIG_IGN);
    signal(SIGXFSZ, SIG_IGN);
}

}  // namespace

int main(int argc, char** argv) {
    StandardDescriptors::Ensure();
    InstallSignalHandlers();
    std::ios::sync_with_stdio(false);
    ExportOptions options;
    try {
        options = ExportOptions::Parse(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError& e) {
        std::cerr << "morvask-export: " << e.what() << "\n\n" << ExportOptions::Usage();
        return ExportCommand::kUsage;
    }
    std::optional<int> terminal;
    if (::isatty(STDERR_FILENO)) terminal = STDERR_FILENO;
    MdbEngine engine;
    ExportCommand command(engine, std::cout, std::cerr, terminal, WinePrefix::FromEnvironment());
    int code = command.Run(options);
    std::cout.flush();
    return code;
}
