#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/ExportFailure.h"
#include "settings/RunSettings.h"

// Arguments that cannot be used: the exporter prints the text and where to find the usage,
// and ends with exit code 2. A refused run value also carries the refusal for the desktop
// program, which words it without the option names.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
    UsageError(const std::string& message, ExportFailure failure)
        : std::runtime_error(message), m_failure(std::move(failure)) {}

    const std::optional<ExportFailure>& Failure() const { return m_failure; }

private:
    std::optional<ExportFailure> m_failure;
};

// The command line of morvask-export. Parse only records what was given; RunValues then
// settles the run settings from it and from the defaults for options left out.
class ExportOptions {
public:
    enum class Mode { Export, CheckSource, CheckRefdata, Help, Version };

    // args without the program name. Throws UsageError.
    static ExportOptions Parse(const std::vector<std::string>& args);
    static const char* Usage();
    // The line after the reason for a refusal: the reason stays in view instead of scrolling
    // away above the whole usage.
    static constexpr const char* kTryHelp = "Try 'morvask-export --help'.";

    // The run settings of an export: each option given, each one left out taking its value
    // from `defaults` (what the run-settings dialog shows when it opens), an empty date
    // taking its default, and refused as the dialog refuses them: an empty source path or a
    // date of 1 to 7 characters. `defaultsOrigin` names the settings file for the message
    // when the source path left out is empty. Throws UsageError.
    RunSettings RunValues(const RunSettings& defaults, const std::string& defaultsOrigin) const;
    // The source path given, or else the default; an empty one is refused as above.
    std::string SourcePath(const RunSettings& defaults, const std::string& defaultsOrigin) const;
    // True when a value left out is to come from the settings file.
    bool UsesSettingsFile() const;

    Mode mode = Mode::Export;
    std::optional<std::string> source;
    std::optional<std::string> refdata;
    std::optional<std::string> output;
    std::optional<std::string> oprCall;
    std::optional<std::string> startDate;
    std::optional<std::string> endDate;
    // The Wine prefix that holds Qervel, instead of WINEPREFIX and the search for it.
    std::optional<std::string> winePrefix;
    // The progress channel of the desktop program: progress, the final counts, a failure.
    std::optional<int> progressFd;
    // The length trace on standard output, before the counts.
    bool trace = false;
};
