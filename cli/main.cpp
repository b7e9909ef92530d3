#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/ExportCommand.h"
#include "cli/ExportOptions.h"
#include "cli/ExporterCommandLine.h"
#include "cli/FatalSignalReport.h"
#include "cli/StandardDescriptors.h"
#include "data/MdbEngine.h"
#include "data/ShownText.h"
#include "export/AdiOutputFile.h"
#include "settings/PrefixSearch.h"
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
    // Errors on the progress channel and past a file-size limit are reported as errors
    // rather than ending the process without a word.
    signal(SIGPIPE, SIG_IGN);
    signal(SIGXFSZ, SIG_IGN);
}

// --wineprefix, else WINEPREFIX or the prefix the search finds. A prefix found by
// searching is named, so that an operator with several installations sees which one is used.
WinePrefix ChoosePrefix(const ExportOptions& options) {
    if (options.mode == ExportOptions::Mode::Help || options.mode == ExportOptions::Mode::Version)
        return WinePrefix("");
    if (options.winePrefix) {
        std::error_code error;
        if (!std::filesystem::is_directory(*options.winePrefix, error))
            throw UsageError("--wineprefix: \"" + *options.winePrefix +
                             "\" is no folder: name the Wine prefix that holds Qervel (the folder with drive_c)");
        return WinePrefix(*options.winePrefix);
    }
    PrefixSearch::Result found = PrefixSearch::FromEnvironment();
    if (found.origin == PrefixSearch::Origin::FrontEnd) {
        std::cerr << "morvask-export: using the Wine prefix \"" << ShownText(found.prefix.Root()) << "\"";
        if (found.candidates > 1)
            std::cerr << ", whose Qvl2007.ini was changed last of the " << found.candidates
                      << " prefixes that hold one";
        std::cerr << " (WINEPREFIX is not set and ~/.wine holds no Qvl2007.ini; choose another with --wineprefix "
                     "DIR)\n";
    }
    return std::move(found.prefix);
}

}  // namespace

int main(int argc, char** argv) {
    StandardDescriptors::Ensure();
    InstallSignalHandlers();
    std::ios::sync_with_stdio(false);
    ExportOptions options;
    WinePrefix prefix("");
    try {
        options = ExportOptions::Parse(std::vector<std::string>(argv + 1, argv + argc));
        prefix = ChoosePrefix(options);
    } catch (const UsageError& e) {
        std::cerr << "morvask-export: " << ShownText(e.what()) << '\n' << ExportOptions::kTryHelp << '\n';
        return ExportCommand::kUsage;
    }
    // The desktop program hears of a signal that ends the run from the run itself.
    if (options.progressFd) FatalSignalReport::Install(*options.progressFd);
    std::optional<int> terminal;
    if (::isatty(STDERR_FILENO)) terminal = STDERR_FILENO;
    MdbEngine engine;
    ExportCommand command(engine, std::cout, std::cerr, terminal, std::move(prefix));
    int code = command.Run(options);
    std::cout.flush();
    return code;
}
