#include "cli/ExportCommand.h"

#include <fcntl.h>

#include <exception>

#include "cli/ProgressReporter.h"
#include "data/CDaoException.h"
#include "data/CExportDocument.h"
#include "data/VersionCheck.h"
#include "export/ExportRun.h"
#include "export/OutputTarget.h"
#include "settings/IniReaders.h"
#include "settings/PathMappingError.h"
#include "settings/RunFiles.h"

namespace {

const char* const kVersionError = "Qervel - mdb file version error";

}  // namespace

ExportCommand::ExportCommand(DbEngine& engine, std::ostream& out, std::ostream& err, std::optional<int> terminalFd,
                             WinePrefix prefix)
    : m_engine(engine), m_out(out), m_err(err), m_terminalFd(terminalFd), m_prefix(std::move(prefix)) {}

int ExportCommand::Run(const ExportOptions& options) {
    try {
        switch (options.mode) {
        case ExportOptions::Mode::Help:
            m_out << ExportOptions::Usage();
            return 0;
        case ExportOptions::Mode::CheckSource:
            return CheckSource(HostPath("--source", options.SourcePath(Defaults(), DefaultsOrigin())));
        case ExportOptions::Mode::CheckRefdata:
            return CheckRefdata(HostPath("--refdata", options.refdata.value_or(Defaults().m_strRefdataPath)));
        case ExportOptions::Mode::Export:
            return Export(options);
        }
    } catch (const UsageError& e) {
        m_err << "morvask-export: " << e.what() << "\n\n" << ExportOptions::Usage();
        return kUsage;
    } catch (const std::exception& e) {
        m_err << e.what() << '\n';
    } catch (...) {
        m_err << "The export stopped on an unexpected error.\n";
    }
    return kFailed;
}

int ExportCommand::CheckSource(const std::string& sourcePath) {
    try {
        m_engine.OpenDatabase(sourcePath);
    } catch (const CDaoException& e) {
        m_err << e.Description() << '\n';
        return kFailed;
    }
    if (!CheckMdbVersion(m_engine, sourcePath)) {
        m_err << kVersionError << '\n';
        return kFailed;
    }
    return 0;
}

int ExportCommand::CheckRefdata(const std::string& refdataPath) {
    RunSettings settings;
    settings.m_strRefdataPath = refdataPath;
    CExportDocument doc(m_engine, settings);
    try {
        doc.m_morvaskSet.Open();
    } catch (const CDaoException& e) {
        m_err << e.Description() << '\n';
        return kFailed;
    }
    doc.m_morvaskSet.Close();
    return 0;
}

int ExportCommand::Export(const ExportOptions& options) {
    // What the operator sees stays as written; only file access goes through the mapping.
    RunSettings settings = options.RunValues(Defaults(), DefaultsOrigin());
    const RunSettings written = settings;
    settings.m_strSourcePath = HostPath("--source", settings.m_strSourcePath);
    settings.m_strRefdataPath = HostPath("--refdata", settings.m_strRefdataPath);
    settings.m_strAdiPath = HostPath("--output", settings.m_strAdiPath, true);
    RefuseUnusableOutput(written, settings);
    if (options.progressFd && ::fcntl(*options.progressFd, F_GETFD) < 0)
        throw UsageError("--progress-fd " + std::to_string(*options.progressFd) + " names no open descriptor");
    if (int refused = CheckSource(settings.m_strSourcePath); refused != 0) return refused;

    CExportDocument doc(m_engine, settings);
    ExportRun run(doc.m_morvaskSet, doc.m_morvaskSet2);
    ProgressReporter progress(options.progressFd, m_terminalFd,
                              [&doc] { return doc.m_morvaskSet2.GetTableRowCount(); });
    ExportHooks hooks;
    hooks.refresh = [&progress](const ExportCounters& counters) { progress.Refresh(counters); };
    hooks.pump = [&progress] { progress.Pump(); };
    hooks.trace = options.trace ? &m_out : nullptr;
    run.SetHooks(std::move(hooks));
    try {
        run.Run(settings);
    } catch (const std::exception& e) {
        progress.Finish();
        m_err << e.what() << '\n';
        return kFailed;
    }
    progress.Finish();

    const ExportCounters& c = run.Counters();
    m_out << "Total QSOs: " << c.Text(ExportCounters::Total) << '\n'
          << "Valid QSOs: " << c.Text(ExportCounters::Valid) << '\n'
          << "Not Valid QSOs: " << c.Text(ExportCounters::NotValid) << '\n'
          << "Not Date Range: " << c.Text(ExportCounters::NotDateRange) << '\n'
          << "Not same OprCall: " << c.Text(ExportCounters::NotSameOprCall) << '\n';
    m_out.flush();
    return 0;
}

void ExportCommand::RefuseUnusableOutput(const RunSettings& written, const RunSettings& host) const {
    using Role = RunFiles::Role;
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
        throw UsageError("--output \"" + written.m_strAdiPath + "\" is " + RunFiles::Describe(same->role) + " \"" +
                         other + "\", which is only ever read: name another file for the ADIF file");
    }
    const OutputTarget target = OutputTarget::Resolve(host.m_strAdiPath);
    if (!target.Replaceable())
        throw UsageError("--output " + target.Describe(written.m_strAdiPath) +
                         ", not a file, which is never replaced: name a file for the ADIF file");
}

RunSettings ExportCommand::Defaults() const { return ReadRunSettingsDefaults(m_prefix); }

std::string ExportCommand::DefaultsOrigin() const {
    std::string file = SettingsFilePath(m_prefix);
    if (!file.empty()) return "the settings file " + file;
    if (m_prefix.WindowsDirectory().empty()) return "the settings file Qvl2007.ini (no Wine prefix: set WINEPREFIX)";
    return "the settings file Qvl2007.ini, which is not in " + m_prefix.WindowsDirectory();
}

std::string ExportCommand::HostPath(const char* option, const std::string& path, bool createdFile) const {
    try {
        return createdFile ? m_prefix.MapOutputToHost(path) : m_prefix.MapToHost(path);
    } catch (const PathMappingError& e) {
        throw UsageError(std::string(option) + ": " + e.what());
    }
}
