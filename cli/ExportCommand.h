#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/ExportOptions.h"
#include "cli/ExporterCommandLine.h"
#include "cli/ProgressWriter.h"
#include "settings/WinePrefix.h"

class DbEngine;
class ExportCounters;

// The work of morvask-export once its arguments are parsed: the two check-only modes and
// the export itself, with the exit code as result. Every failure becomes one line on the
// error stream, and a failure record on the progress channel when there is one; nothing
// escapes.
class ExportCommand {
public:
    // terminalFd: where the progress line is drawn, when standard error is a terminal.
    // prefix: where the logging program's settings file lies and its drives are mapped.
    ExportCommand(DbEngine& engine, std::ostream& out, std::ostream& err, std::optional<int> terminalFd,
                  WinePrefix prefix);

    int Run(const ExportOptions& options);

    // Called at every pass of an export's walk with the counts reached: where a test changes
    // the log at a moment of its choosing, as Qervel would.
    void SetPassObserver(std::function<void(const ExportCounters&)> observer) { m_passObserver = std::move(observer); }

    static constexpr int kFailed = ExporterCommandLine::kExitFailed;
    static constexpr int kUsage = ExporterCommandLine::kExitUsage;

private:
    int CheckSource(const std::string& sourcePath);
    int CheckRefdata(const std::string& refdataPath);
    int Export(const ExportOptions& options);
    RunSettings Defaults() const;
    std::string DefaultsOrigin() const;
    // The host path of the run's file `role`, given as `option`; the ADIF file, which the
    // run creates, keeps its name as written. A path with no place on the host is refused.
    std::string HostPath(RunFiles::Role role, const char* option, const std::string& path) const;
    // Refuses an output that is one of the files the run only reads, under whatever name,
    // or that is no regular file: neither is ever replaced. `written` holds the paths as
    // the operator wrote them, `host` the files they name.
    void RefuseUnusableOutput(const RunSettings& written, const RunSettings& host) const;
    void Warn(const std::vector<std::string>& warnings);
    // One message, one line on standard error: control characters and bytes that are not
    // UTF-8 in the paths and values it quotes are shown escaped.
    void Say(const std::string& message);
    void OpenProgressChannel(const std::optional<int>& fd);
    // Tells the desktop program why the job failed; a channel that has gone takes nothing.
    void Report(const ExportFailure& failure);
    // The five counts of a finished run: to the progress channel when there is one, otherwise
    // as the summary lines on standard output. False when standard output would not take
    // them (said on standard error, naming the ADIF file that was written all the same).
    bool ReportDone(const ExportCounters& counts, const std::string& adiPath);

    DbEngine& m_engine;
    std::ostream& m_out;
    std::ostream& m_err;
    std::optional<int> m_terminalFd;
    WinePrefix m_prefix;
    std::optional<ProgressWriter> m_channel;
    std::function<void(const ExportCounters&)> m_passObserver;
};
