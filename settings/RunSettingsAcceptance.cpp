#include "settings/RunSettingsAcceptance.h"

#include "settings/IniReaders.h"

namespace {

// A date of 1 to 7 characters cannot be "YYYYMMDD"; an empty one takes its default and
// a longer one is taken as it is, since dates are compared as text.
bool IsShortDate(const std::string& date) { return !date.empty() && date.size() < 8; }

enum class Fault { None, EmptySource, ShortStart, ShortEnd };

// The first unusable value, in the order the operator reads the dialog's fields.
Fault FirstFault(const RunSettings& settings) {
    if (settings.m_strSourcePath.empty()) return Fault::EmptySource;
    if (IsShortDate(settings.m_strStartDate)) return Fault::ShortStart;
    if (IsShortDate(settings.m_strEndDate)) return Fault::ShortEnd;
    return Fault::None;
}

}  // namespace

std::string RunSettingsProblem(const RunSettings& settings) {
    switch (FirstFault(settings)) {
    case Fault::EmptySource:
        return "the source database path is empty: name the logging program's database file";
    case Fault::ShortStart:
        return "the start date \"" + settings.m_strStartDate +
               "\" is shorter than 8 characters: write it as YYYYMMDD or leave it empty";
    case Fault::ShortEnd:
        return "the end date \"" + settings.m_strEndDate +
               "\" is shorter than 8 characters: write it as YYYYMMDD or leave it empty";
    case Fault::None:
        break;
    }
    return {};
}

std::string RunSettingsRefusal(const RunSettings& settings) {
    switch (FirstFault(settings)) {
    case Fault::EmptySource:
        return "The Qervel Source mdb file location is empty. Enter the path of Qervel's logging database, or pick "
               "it with the \"...\" button beside the field.";
    case Fault::ShortStart:
        return "The Start Date \"" + settings.m_strStartDate +
               "\" is shorter than 8 characters. Write it as YYYYMMDD, for example 20120101, or leave it empty to "
               "start at " +
               kDefaultStartDate + ".";
    case Fault::ShortEnd:
        return "The End Date \"" + settings.m_strEndDate +
               "\" is shorter than 8 characters. Write it as YYYYMMDD, for example 20121231, or leave it empty to "
               "end at " +
               kDefaultEndDate + ".";
    case Fault::None:
        break;
    }
    return {};
}

void ApplyDefaultDates(RunSettings& settings) {
    if (settings.m_strStartDate.empty()) settings.m_strStartDate = kDefaultStartDate;
    if (settings.m_strEndDate.empty()) settings.m_strEndDate = kDefaultEndDate;
}

bool AskRunSettings(RunSettings& settings, const std::function<std::unique_ptr<IRunSettingsDialog>()>& makeDialog,
                    const std::function<void(const std::string&)>& tell) {
    // Unbounded on purpose: only usable values or a cancel end the loop. Every showing is a
    // fresh dialog, filled from the settings file again.
    for (;;) {
        std::unique_ptr<IRunSettingsDialog> dialog = makeDialog();
        if (!dialog || !dialog->DoModal()) return false;
        RunSettings entered = dialog->Values();
        if (RunSettingsProblem(entered).empty()) {
            ApplyDefaultDates(entered);
            settings = std::move(entered);
            return true;
        }
        // The operator is told which value and why before the dialog comes back.
        if (tell) tell(RunSettingsRefusal(entered));
    }
}
