#include "settings/RunSettingsAcceptance.h"

#include "settings/IniReaders.h"

namespace {

// A date of 1 to 7 characters cannot be "YYYYMMDD"; an empty one takes its default and
// a longer one is taken as it is, since dates are compared as text.
bool IsShortDate(const std::string& date) { return !date.empty() && date.size() < 8; }

}  // namespace

std::string RunSettingsProblem(const RunSettings& settings) {
    if (settings.m_strSourcePath.empty()) {
        return "the source database path is empty: name the logging program's database file";
    }
    if (IsShortDate(settings.m_strStartDate)) {
        return "the start date \"" + settings.m_strStartDate +
               "\" is shorter than 8 characters: write it as YYYYMMDD or leave it empty";
    }
    if (IsShortDate(settings.m_strEndDate)) {
        return "the end date \"" + settings.m_strEndDate +
               "\" is shorter than 8 characters: write it as YYYYMMDD or leave it empty";
    }
    return {};
}

void ApplyDefaultDates(RunSettings& settings) {
    if (settings.m_strStartDate.empty()) settings.m_strStartDate = kDefaultStartDate;
    if (settings.m_strEndDate.empty()) settings.m_strEndDate = kDefaultEndDate;
}

bool AskRunSettings(RunSettings& settings, const std::function<std::unique_ptr<IRunSettingsDialog>()>& makeDialog) {
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
    }
}
