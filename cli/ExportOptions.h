#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "settings/RunSettings.h"

// Arguments that cannot be used: the exporter prints the text and the usage, and ends
// with exit code 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The command line of morvask-export. Parse only records what was given; RunValues then
// settles the run settings from it, which is where defaults for options left out belong.
class ExportOptions {
public:
    enum class Mode { Export, CheckSource, CheckRefdata, Help };

    // args without the program name. Throws UsageError.
    static ExportOptions Parse(const std::vector<std::string>& args);
    static const char* Usage();

    // The run settings of an export: every path and the operator call given, an empty or
    // missing date taking its default, a date of 1 to 7 characters refused as the settings
    // dialog refuses it. Throws UsageError.
    RunSettings RunValues() const;

    Mode mode = Mode::Export;
    std::optional<std::string> source;
    std::optional<std::string> refdata;
    std::optional<std::string> output;
    std::optional<std::string> oprCall;
    std::optional<std::string> startDate;
    std::optional<std::string> endDate;
    // Where the five counts go after every change, for the desktop program.
    std::optional<int> progressFd;
    // The length trace on standard output, before the counts.
    bool trace = false;
};
