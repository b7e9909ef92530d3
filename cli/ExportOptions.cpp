#include "cli/ExportOptions.h"

#include <charconv>

#include "settings/RunSettingsAcceptance.h"

namespace {

struct ValueOption {
    const char* name;
    std::optional<std::string> ExportOptions::*member;
};

constexpr ValueOption kValueOptions[] = {
    {"--source", &ExportOptions::source},     {"--refdata", &ExportOptions::refdata},
    {"--output", &ExportOptions::output},     {"--oprcall", &ExportOptions::oprCall},
    {"--start", &ExportOptions::startDate},   {"--end", &ExportOptions::endDate},
};

int ParseFd(const std::string& text) {
    int fd = -1;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), fd);
    if (ec != std::errc() || end != text.data() + text.size() || fd < 0)
        throw UsageError("--progress-fd needs a file descriptor number, not \"" + text + "\"");
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
           "  morvask-export --source PATH --refdata PATH --output PATH --oprcall CALL\n"
           "                 [--start YYYYMMDD] [--end YYYYMMDD] [--progress-fd N] [--trace]\n"
           "  morvask-export --check-source --source PATH\n"
           "  morvask-export --check-refdata --refdata PATH\n"
           "\n"
           "Writes the contacts of the logging database (--source) made by the operator --oprcall\n"
           "between --start and --end (both included; defaults 19451116 and 20301231) as an ADIF\n"
           "file at --output, looking up each contact's DXCC entity in the reference database\n"
           "(--refdata). --oprcall \"\" selects the contacts without an operator call. On success\n"
           "prints the five counts: Total QSOs, Valid QSOs, Not Valid QSOs, Not Date Range and\n"
           "Not same OprCall.\n"
           "\n"
           "  --progress-fd N   after every change of a count write \"T NV V NSO NDR\" to descriptor N\n"
           "  --trace           print the length of every counted ADIF field before the counts\n"
           "  --check-source    only open the logging database and check its version\n"
           "  --check-refdata   only open the reference database's prefix table\n"
           "  --help            show this text\n"
           "\n"
           "Exit codes: 0 done, 1 the export failed (the reason is on standard error), 2 unusable\n"
           "arguments.\n";
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
        if (arg == "--progress-fd") {
            options.progressFd = ParseFd(takeValue());
        } else if (arg == "--trace") {
            noValue();
            options.trace = true;
        } else if (arg == "--check-source") {
            noValue();
            SetMode(options, Mode::CheckSource, arg);
        } else if (arg == "--check-refdata") {
            noValue();
            SetMode(options, Mode::CheckRefdata, arg);
        } else if (arg == "--help" || arg == "-h") {
            options.mode = Mode::Help;
            return options;
        } else {
            throw UsageError("unknown argument \"" + args[i] + "\"");
        }
    }
    if (options.mode == Mode::CheckSource && !options.source) throw UsageError("--check-source needs --source PATH");
    if (options.mode == Mode::CheckRefdata && !options.refdata)
        throw UsageError("--check-refdata needs --refdata PATH");
    return options;
}

RunSettings ExportOptions::RunValues() const {
    auto required = [](const std::optional<std::string>& value, const char* name) {
        if (!value) throw UsageError(std::string(name) + " is missing");
        return *value;
    };
    RunSettings settings;
    settings.m_strSourcePath = required(source, "--source");
    settings.m_strRefdataPath = required(refdata, "--refdata");
    settings.m_strAdiPath = required(output, "--output");
    settings.m_strOprCall = required(oprCall, "--oprcall");
    settings.m_strStartDate = startDate.value_or("");
    settings.m_strEndDate = endDate.value_or("");
    if (settings.m_strAdiPath.empty()) throw UsageError("--output is empty: name the ADIF file to write");
    if (std::string problem = RunSettingsProblem(settings); !problem.empty()) throw UsageError(problem);
    ApplyDefaultDates(settings);
    return settings;
}
