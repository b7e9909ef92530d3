#pragma once

#include <optional>
#include <ostream>

#include "cli/ExportOptions.h"

class DbEngine;

// The work of morvask-export once its arguments are parsed: the two check-only modes and
// the export itself, with the exit code as result. Every failure becomes one line on the
// error stream; nothing escapes.
class ExportCommand {
public:
    // terminalFd: where the progress line is drawn, when standard error is a terminal.
    ExportCommand(DbEngine& engine, std::ostream& out, std::ostream& err, std::optional<int> terminalFd);

    int Run(const ExportOptions& options);

    static constexpr int kFailed = 1;
    static constexpr int kUsage = 2;

private:
    int CheckSource(const std::string& sourcePath);
    int CheckRefdata(const std::string& refdataPath);
    int Export(const ExportOptions& options);

    DbEngine& m_engine;
    std::ostream& m_out;
    std::ostream& m_err;
    std::optional<int> m_terminalFd;
};
