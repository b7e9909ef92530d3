#include "cli/ExportCommand.h"

#include <fcntl.h>

#include <cerrno>
#include <cstring>
#include <exception>

#include "ProgramVersion.h"
#include "cli/FailureRecord.h"
#include "cli/ProgressReporter.h"
#include "cli/RunWarnings.h"
#include "data/CDaoException.h"
#include "data/CExportDocument.h"
#include "data/FileTypeText.h"
#include "data/ShownText.h"
#include "data/VersionCheck.h"
#include "export/CFileException.h"
#include "export/ExportRun.h"
#include "export/LogFileState.h"
#include "export/OutputTarget.h"
#include "settings/IniReaders.h"
#include "settings/PathMappingError.h"
#include "settings/RunFiles.h"

namespace {

const char* const kVersionError = "Qervel - mdb file version error";

using Role = RunFiles::Role;

}  // namespace

ExportCommand::ExportCommand(DbEngine& engine, std::ostream& out, std::ostream& err, std::optional<int> terminalFd,
                             WinePrefix prefix)
    : m_engine(engine), m_out(out), m_err(err), m_terminalFd(terminalFd), m_prefix(std::move(prefix)) {}

int ExportCommand::Run(const ExportOptions& options) {
    try {
        if (options.mode == ExportOptions::Mode::Help) {
            m_out << ExportOptions::Usage();
            return 0;
        }
        if (options.mode == ExportOptions::Mode::Version) {
            m_out << ExporterCommandLine::kProgramName << ' ' << kProgramVersion << '\n';
            return 0;
        }
        OpenProgressChannel(options.progressFd);
        // Said before any refusal, which would otherwise blame the values a missing file gives.
        if (options.UsesSettingsFile()) {
            if (std::string problem = SettingsFileProblem(m_prefix); !problem.empty())
                Say("morvask-export: " + problem);
        }
        switch (options.mode) {
        case ExportOptions::Mode::Help:
        case ExportOptions::Mode::Version:
            break;
        case ExportOptions::Mode::CheckSource:
            return CheckSource(HostPath(Role::SourceDatabase, ExporterCommandLine::kSource,
                                        options.SourcePath(Defaults(), DefaultsOrigin())));
        case ExportOptions::Mode::CheckRefdata:
            return CheckRefdata(HostPath(Role::ReferenceDatabase, ExporterCommandLine::kRefdata,
                                         options.refdata.value_or(Defaults().m_strRefdataPath)));
        case ExportOptions::Mode::Export:
            return Export(options);
        }
    } catch (const UsageError& e) {
        Say(std::string("morvask-export: ") + e.what());
        m_err << ExportOptions::kTryHelp << '\n';
        if (e.Failure()) Report(*e.Failure());
        return kUsage;
    } catch (const std::exception& e) {
        Say(e.what());
        Report({ExportFailure::Kind::Other, std::nullopt, e.what()});
    } catch (...) {
        m_err << "The export stopped on an unexpected error.\n";
        Report({ExportFailure::Kind::Other, std::nullopt, "an unexpected error"});
    }
    return kFailed;
}

void ExportCommand::OpenProgressChannel(const std::optional<int>& fd) {
    m_channel.reset();
    if (!fd) return;
    if (::fcntl(*fd, F_GETFD) < 0)
        throw UsageError(std::string(ExporterCommandLine::kProgressFd) + " " + std::to_string(*fd) +
                         " names no open descriptor");
    m_channel.emplace(*fd);
}

void ExportCommand::Report(const ExportFailure& failure) {
    if (!m_channel) return;
    try {
        m_channel->Failure(failure);
    } catch (const ProgressChannelLost&) {
        // Whoever asked has gone; standard error has the reason all the same.
    }
}

int ExportCommand::CheckSource(const std::string& sourcePath) {
    // A log that Qervel rewrites while it is opened may read as damaged or without a version:
    // it is read again, and one that keeps changing is said to.
    MdbVersion version;
    for (int reading = 1;; ++reading) {
        const LogFileState before = LogFileState::Settled(sourcePath);
        std::optional<CDaoException> failed;
        try {
            m_engine.OpenDatabase(sourcePath);
            version = ReadMdbVersion(m_engine, sourcePath);
        } catch (const CDaoException& e) {
            failed = e;
        }
        if ((failed || !version.accepted) && !(LogFileState::Of(sourcePath) == before)) {
            if (reading < LogFileState::kReadings) continue;
            failed = LogFileState::KeptChanging(sourcePath);
        }
        if (failed) {
            Say(failed->Description());
            Report(FailureRecord::OfDatabaseError(*failed, Role::SourceDatabase));
            return kFailed;
        }
        break;
    }
    if (!version.accepted) {
        // The first line stays the logging program's own text: the desktop program shows it
        // as it stands. The second says what was found.
        Say(kVersionError);
        Say("The logging database '" + sourcePath + "' holds " + version.found +
            "; Qervel's database of version 6 or later is needed.");
        Report({ExportFailure::Kind::VersionRefused, Role::SourceDatabase, version.found});
        return kFailed;
    }
    return 0;
}

int ExportCommand::CheckRefdata(const std::string& refdataPath) {
    CExportDocument doc(m_engine, {}, refdataPath);
    try {
        doc.m_morvaskSet.Open();
    } catch (const CDaoException& e) {
        Say(e.Description());
        Report(FailureRecord::OfDatabaseError(e, Role::ReferenceDatabase));
        return kFailed;
    }
    doc.m_morvaskSet.Close();
    return 0;
}

int ExportCommand::Export(const ExportOptions& options) {
    // What the operator sees stays as written; only file access goes through the mapping.
    RunSettings settings = options.RunValues(Defaults(), DefaultsOrigin());
    const RunSettings written = settings;
    settings.m_strSourcePath = HostPath(Role::SourceDatabase, ExporterCommandLine::kSource, settings.m_strSourcePath);
    settings.m_strRefdataPath =
        HostPath(Role::ReferenceDatabase, ExporterCommandLine::kRefdata, settings.m_strRefdataPath);
    settings.m_strAdiPath = HostPath(Role::AdifFile, ExporterCommandLine::kOutput, settings.m_strAdiPath);
    RefuseUnusableOutput(written, settings);
    if (int refused = CheckSource(settings.m_strSourcePath); refused != 0) return refused;
    std::vector<std::string> warnings = RunWarnings::ForDates(settings);
    RunWarnings operators;

    CExportDocument doc(m_engine, settings.m_strSourcePath, settings.m_strRefdataPath);
    ExportRun run(doc.m_morvaskSet, doc.m_morvaskSet2);
    ProgressReporter progress(m_channel ? &*m_channel : nullptr, m_terminalFd,
                              [&doc] { return doc.m_morvaskSet2.GetTableRowCount(); });
    // The run counts in the same counters from start to end.
    progress.ReadCountsFrom(run.Counters());
    ExportHooks hooks;
    hooks.pump = [this, &progress, &run] {
        progress.Pump();
        if (m_passObserver) m_passObserver(run.Counters());
    };
    hooks.trace = options.trace ? &m_out : nullptr;
    hooks.otherOperator = [&operators](const std::string& oprCall) { operators.CountOtherOperator(oprCall); };
    hooks.restart = [&operators] { operators = RunWarnings(); };
    run.SetHooks(std::move(hooks));
    // The reason comes first, before the warnings: the desktop program shows the first line.
    const auto tell = [&](const std::exception& e) {
        progress.Finish();
        Say(e.what());
        Warn(warnings);
    };
    try {
        run.Run(settings);
    } catch (const CDaoException& e) {
        tell(e);
        Report(FailureRecord::OfDatabaseError(e, FailureRecord::DatabaseOf(e.Path(), settings)));
        return kFailed;
    } catch (const CFileException& e) {
        tell(e);
        Report(FailureRecord::OfFileError(e));
        return kFailed;
    } catch (const ProgressChannelLost& e) {
        // Nobody is left on the channel to hear it.
        tell(e);
        return kFailed;
    } catch (const std::exception& e) {
        tell(e);
        Report({ExportFailure::Kind::Other, std::nullopt, e.what()});
        return kFailed;
    }
    progress.Finish();
    if (auto warning = operators.ForOperators(settings, run.Counters())) warnings.push_back(*warning);
    const bool told = ReportDone(run.Counters(), written.m_strAdiPath);
    Warn(warnings);
    return told ? 0 : kFailed;
}

bool ExportCommand::ReportDone(const ExportCounters& c, const std::string& adiPath) {
    if (m_channel) {
        // The trace is out before the desktop program hears that the run is over.
        m_out.flush();
        m_channel->Done(ProgressReporter::CountsOf(c));
        return true;
    }
    errno = 0;
    m_out << "Total QSOs: " << c.Text(ExportCounters::Total) << '\n'
          << "Valid QSOs: " << c.Text(ExportCounters::Valid) << '\n'
          << "Not Valid QSOs: " << c.Text(ExportCounters::NotValid) << '\n'
          << "Not Date Range: " << c.Text(ExportCounters::NotDateRange) << '\n'
          << "Not same OprCall: " << c.Text(ExportCounters::NotSameOprCall) << '\n';
    m_out.flush();
    if (m_out) return true;
    // A script that reads the counts must not take their absence for a run with none.
    const int error = errno;
    Say("Cannot write the counts to standard output" + (error ? std::string(": ") + std::strerror(error) : "") +
        ". The ADIF file \"" + adiPath + "\" has been written completely.");
    return false;
}

void ExportCommand::RefuseUnusableOutput(const RunSettings& written, const RunSettings& host) const {
    RunFiles files;
    files.Add(Role::SourceDatabase, host.m_strSourcePath);
    files.Add(Role::ReferenceDatabase, host.m_strRefdataPath);
    const std::string settingsFile = SettingsFilePath(m_prefix);
    files.Add(Role::SettingsFile, settingsFile);
    if (auto same =
            files.Find(host.m_strAdiPath, {Role::SourceDatabase, Role::ReferenceDatabase, Role::SettingsFile})) {
        const std::string& other = same->role == Role::SourceDatabase      ? written.m_strSourcePath
                                   : same->role == Role::ReferenceDatabase ? written.m_strRefdataPath
                                                                           : settingsFile;
        throw UsageError(std::string(ExporterCommandLine::kOutput) + " \"" + written.m_strAdiPath + "\" is " +
                             RunFiles::Describe(same->role) + " \"" + other +
                             "\", which is only ever read: name another file for the ADIF file",
                         {ExportFailure::Kind::UnusableValue, Role::AdifFile,
                          std::string("it is ") + RunFiles::Describe(same->role) + ", which is only ever read"});
    }
    const OutputTarget target = OutputTarget::Resolve(host.m_strAdiPath);
    if (!target.Replaceable())
        throw UsageError(
            std::string(ExporterCommandLine::kOutput) + " " + target.Describe(written.m_strAdiPath) +
                ", not a file, which is never replaced: name a file for the ADIF file",
            {ExportFailure::Kind::UnusableValue, Role::AdifFile,
             std::string("it is ") + FileTypeText(target.Status().st_mode) + ", not a file, which is never replaced"});
}

void ExportCommand::Warn(const std::vector<std::string>& warnings) {
    for (const std::string& warning : warnings) Say("morvask-export: warning: " + warning);
}

void ExportCommand::Say(const std::string& message) { m_err << ShownText(message) << '\n'; }

RunSettings ExportCommand::Defaults() const { return ReadRunSettingsDefaults(m_prefix); }

std::string ExportCommand::DefaultsOrigin() const {
    std::string file = SettingsFilePath(m_prefix);
    if (!file.empty()) return "the settings file " + file;
    if (m_prefix.WindowsDirectory().empty()) return "the settings file Qvl2007.ini (no Wine prefix: set WINEPREFIX)";
    return "the settings file Qvl2007.ini, which is not in " + m_prefix.WindowsDirectory();
}

std::string ExportCommand::HostPath(Role role, const char* option, const std::string& path) const {
    try {
        return RunFiles::HostPath(m_prefix, role, path);
    } catch (const PathMappingError& e) {
        throw UsageError(std::string(option) + ": " + e.what(), {ExportFailure::Kind::UnusableValue, role, e.what()});
    }
}
