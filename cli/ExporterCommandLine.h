#pragma once

#include <string>
#include <vector>

#include "settings/RunSettings.h"

// What the desktop program and morvask-export agree on when one starts the other: the
// option names, the descriptor of the progress channel, the exit statuses and where each
// kind of output goes. Both sides take these words from here and from nowhere else.
//
// Where the output goes when the desktop program starts a job:
// - the length trace on the exporter's standard output, which the desktop program lets it
//   inherit, so that the trace reaches the desktop's own standard output byte for byte;
// - progress, the final counts and a failure as records on the progress channel (ProgressRecord);
//   given a progress channel, the exporter prints no summary lines on standard output;
// - the exporter's own messages on its standard error, worded for scripts; the desktop
//   program does not show them, it words the failure record itself.
class ExporterCommandLine {
public:
    // The exporter's file, next to the desktop program.
    static constexpr const char* kProgramName = "morvask-export";

    static constexpr const char* kSource = "--source";
    static constexpr const char* kRefdata = "--refdata";
    static constexpr const char* kOutput = "--output";
    static constexpr const char* kOprCall = "--oprcall";
    static constexpr const char* kStart = "--start";
    static constexpr const char* kEnd = "--end";
    static constexpr const char* kProgressFd = "--progress-fd";
    static constexpr const char* kTrace = "--trace";
    static constexpr const char* kCheckSource = "--check-source";
    static constexpr const char* kCheckRefdata = "--check-refdata";
    static constexpr const char* kWinePrefix = "--wineprefix";
    static constexpr const char* kHelp = "--help";
    static constexpr const char* kVersion = "--version";

    // The descriptor on which the desktop program hands every job its progress channel.
    static constexpr int kProgressDescriptor = 3;

    static constexpr int kExitDone = 0;
    static constexpr int kExitFailed = 1;
    static constexpr int kExitUsage = 2;
    // A job told to stop with SIGTERM, SIGINT or SIGHUP removes its unfinished file and exits
    // with this plus the signal's number.
    static constexpr int kExitStoppedBase = 128;

    // The arguments of the desktop program's jobs, each reporting on kProgressDescriptor.
    // Opens the logging database and checks its version.
    static std::vector<std::string> CheckSource(const std::string& sourcePath);
    // Opens the reference database's prefix table.
    static std::vector<std::string> CheckRefdata(const std::string& refdataPath);
    // One export with every run value given, so that nothing is taken from the settings file,
    // with the length trace.
    static std::vector<std::string> Run(const RunSettings& values);
};
