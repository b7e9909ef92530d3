#include "cli/ExportOptions.h"

#include <charconv>

#include "cli/ExporterCommandLine.h"
#include "settings/RunSettingsAcceptance.h"

namespace {

struct ValueOption {
    const char* name;
    std::optional<std::string> ExportOptions::*member;
};

using Names = ExporterCommandLine;

constexpr ValueOption kValueOptions[] = {
    {Names::kSource, &ExportOptions::source},         {Names::kRefdata, &ExportOptions::refdata},
    {Names::kOutput, &ExportOptions::output},         {Names::kOprCall, &ExportOptions::oprCall},
    {Names::kStart, &ExportOptions::startDate},       {Names::kEnd, &ExportOptions::endDate},
    {Names::kWinePrefix, &ExportOptions::winePrefix},
};

int ParseFd(const std::string& text) {
    int fd = -1;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), fd);
    if (ec != std::errc() || end != text.data() + text.size() || fd < 0)
        throw UsageError(std::string(Names::kProgressFd) + " needs a file descriptor number, not \"" + text + "\"");
    return fd;
}

void SetMode(ExportOptions& options, ExportOptions::Mode mode, const std::string& flag) {
    if (options.mode != ExportOptions::Mode::Export && options.mode != mode)
        throw UsageError(flag + " cannot be combined with another check");
    options.mode = mode;
}

}  // namespace

const char* ExportOptions::Usage() {
    return "Usage:\n"
           "  morvask-export [--source PATH] [--refdata PATH] [--output PATH] [--oprcall CALL]\n"
           "                 [--start YYYYMMDD] [--end YYYYMMDD] [--wineprefix DIR] [--progress-fd N] [--trace]\n"
           "  morvask-export --check-source [--source PATH] [--wineprefix DIR] [--progress-fd N]\n"
           "  morvask-export --check-refdata [--refdata PATH] [--wineprefix DIR] [--progress-fd N]\n"
           "\n"
           "Writes the contacts of the logging database (--source) made by the operator --oprcall\n"
           "between --start and --end (both included) as an ADIF file at --output, looking up each\n"
           "contact's DXCC entity in the reference database (--refdata). --oprcall \"\" selects the\n"
           "contacts without an operator call. On success prints the five counts: Total QSOs,\n"
           "Valid QSOs, Not Valid QSOs, Not Date Range and Not same OprCall.\n"
           "\n"
           "Every option left out takes the value the desktop program's run-settings dialog shows\n"
           "when it opens, from Qervel's settings file Qvl2007.ini in the Wine prefix's drive_c/windows:\n"
           "  --source   DATAPATH of section [Dir]\n"
           "  --refdata  PGMPATH of section [Dir], less one trailing backslash, + \\Refdata.mdb\n"
           "  --output   PGMPATH of section [Dir], less one trailing backslash, + \\adiUpld2Morvask.adi\n"
           "  --oprcall  OPRCALL of section [Gen]\n"
           "  --start    19451116 (also when given empty)\n"
           "  --end      20301231 (also when given empty)\n"
           "Without a settings file the paths are empty or on the root of drive C:.\n"
           "\n"
           "The Wine prefix is --wineprefix DIR; else $WINEPREFIX when set and not empty; else ~/.wine\n"
           "when it holds Qvl2007.ini; else, of the prefixes of Bottles, PlayOnLinux, Lutris and\n"
           "CrossOver that hold it, the one whose Qvl2007.ini was changed last (named on standard\n"
           "error); else ~/.wine.\n"
           "\n"
           "Paths may be written as Windows paths: \"X:\\...\" opens the file below the drive's entry in\n"
           "$WINEPREFIX/dosdevices and \"\\\\server\\share\\...\" the one below dosdevices/unc, with\n"
           "folder and file names matched without regard to letter case as Wine does; the output\n"
           "file is created with its name as written. A path starting with \"/\" is a host path.\n"
           "\n"
           "A run refuses an empty source path and a date of 1 to 7 characters (exit 2); then opens\n"
           "the source database (exit 1 with the database error), checks its version (exit 1 with\n"
           "\"Qervel - mdb file version error\") and exports.\n"
           "\n"
           "  --progress-fd N   report to descriptor N, for the desktop program: the counts \"T NV V NSO NDR\"\n"
           "                    every 40 ms or so, then \"done\" and the final counts instead of the\n"
           "                    summary on standard output, or \"failed\" and why\n"
           "  --trace           print the length of every counted ADIF field before the counts\n"
           "  --check-source    only open the logging database and check its version\n"
           "  --check-refdata   only open the reference database's prefix table\n"
           "  --help            show this text\n"
           "  --version         print the program's name and version\n"
           "\n"
           "Exit codes: 0 done, 1 the export failed (the reason is on standard error), 2 unusable\n"
           "arguments or settings (the reason is on standard error).\n";
}

ExportOptions ExportOptions::Parse(const std::vector<std::string>& args) {
    ExportOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        std::optional<std::string> inlineValue;
        if (std::size_t eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            inlineValue = arg.substr(eq + 1);
            arg.resize(eq);
        }
        auto takeValue = [&]() -> std::string {
            if (inlineValue) return *inlineValue;
            if (i + 1 >= args.size()) throw UsageError(arg + " needs a value");
            return args[++i];
        };
        auto noValue = [&] {
            if (inlineValue) throw UsageError(arg + " takes no value");
        };

        bool known = false;
        for (const ValueOption& option : kValueOptions) {
            if (arg != option.name) continue;
            if (options.*option.member) throw UsageError(arg + " is given twice");
            options.*option.member = takeValue();
            known = true;
        }
        if (known) continue;
        if (arg == Names::kProgressFd) {
            options.progressFd = ParseFd(takeValue());
        } else if (arg == Names::kTrace) {
            noValue();
            options.trace = true;
        } else if (arg == Names::kCheckSource) {
            noValue();
            SetMode(options, Mode::CheckSource, arg);
        } else if (arg == Names::kCheckRefdata) {
            noValue();
            SetMode(options, Mode::CheckRefdata, arg);
        } else if (arg == Names::kHelp || arg == "-h") {
            options.mode = Mode::Help;
            return options;
        } else if (arg == Names::kVersion) {
            options.mode = Mode::Version;
            return options;
        } else {
            throw UsageError("unknown argument \"" + args[i] + "\"");
        }
    }
    return options;
}

bool ExportOptions::UsesSettingsFile() const {
    switch (mode) {
    case Mode::Export:
        return !source || !refdata || !output || !oprCall;
    case Mode::CheckSource:
        return !source;
    case Mode::CheckRefdata:
        return !refdata;
    case Mode::Help:
    case Mode::Version:
        break;
    }
    return false;
}

std::string ExportOptions::SourcePath(const RunSettings& defaults, const std::string& defaultsOrigin) const {
    std::string path = source.value_or(defaults.m_strSourcePath);
    if (path.empty()) {
        RunSettings onlySource;
        const std::string problem = RunSettingsProblem(onlySource);
        throw UsageError(
            problem + (source ? std::string(" (--source is empty)")
                              : " with --source PATH, or as DATAPATH in section [Dir] of " + defaultsOrigin),
            {ExportFailure::Kind::UnusableValue, RunFiles::Role::SourceDatabase, problem});
    }
    return path;
}

RunSettings ExportOptions::RunValues(const RunSettings& defaults, const std::string& defaultsOrigin) const {
    RunSettings settings;
    settings.m_strSourcePath = SourcePath(defaults, defaultsOrigin);
    settings.m_strRefdataPath = refdata.value_or(defaults.m_strRefdataPath);
    settings.m_strAdiPath = output.value_or(defaults.m_strAdiPath);
    settings.m_strOprCall = oprCall.value_or(defaults.m_strOprCall);
    settings.m_strStartDate = startDate.value_or(defaults.m_strStartDate);
    settings.m_strEndDate = endDate.value_or(defaults.m_strEndDate);
    if (settings.m_strAdiPath.empty())
        throw UsageError("--output is empty: name the ADIF file to write",
                         {ExportFailure::Kind::UnusableValue, RunFiles::Role::AdifFile, "the path is empty"});
    if (std::string problem = RunSettingsProblem(settings); !problem.empty())
        throw UsageError(problem, {ExportFailure::Kind::UnusableValue, std::nullopt, problem});
    ApplyDefaultDates(settings);
    return settings;
}
