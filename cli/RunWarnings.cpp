#include "cli/RunWarnings.h"

#include <algorithm>

namespace {

constexpr std::size_t kCallsNamed = 5;

int Digits(const std::string& text, std::size_t from, std::size_t count) {
    int value = 0;
    for (std::size_t i = from; i < from + count; ++i) value = value * 10 + (text[i] - '0');
    return value;
}

}  // namespace

bool RunWarnings::IsCalendarDay(const std::string& date) {
    if (date.size() != 8 || !std::all_of(date.begin(), date.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    const int year = Digits(date, 0, 4), month = Digits(date, 4, 2), day = Digits(date, 6, 2);
    if (month < 1 || month > 12 || day < 1) return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int monthDays[] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return day <= monthDays[month - 1];
}

std::vector<std::string> RunWarnings::ForDates(const RunSettings& settings) {
    std::vector<std::string> warnings;
    for (const auto& [which, date] : {std::pair{"start", &settings.m_strStartDate}, {"end", &settings.m_strEndDate}}) {
        if (!IsCalendarDay(*date))
            warnings.push_back(std::string("the ") + which + " date \"" + *date +
                               "\" is not a calendar day written YYYYMMDD; contact dates are compared with it as "
                               "text");
    }
    // The run compares dates as text, so this is exactly when no date can lie in the range.
    if (settings.m_strStartDate > settings.m_strEndDate)
        warnings.push_back("the start date \"" + settings.m_strStartDate + "\" is after the end date \"" +
                           settings.m_strEndDate + "\": no contact can lie in the date range");
    return warnings;
}

void RunWarnings::CountOtherOperator(const std::string& oprCall) { ++m_otherCalls[oprCall]; }

std::optional<std::string> RunWarnings::ForOperators(const RunSettings& settings,
                                                     const ExportCounters& counters) const {
    if (counters.Count(ExportCounters::Valid) != 0 || m_otherCalls.empty()) return std::nullopt;
    std::vector<std::pair<std::string, long>> calls(m_otherCalls.begin(), m_otherCalls.end());
    // Most frequent first; equal counts in the order of the calls, so the text is always the same.
    std::sort(calls.begin(), calls.end(), [](const auto& a, const auto& b) {
        return a.second != b.second ? a.second > b.second : a.first < b.first;
    });
    std::string text = "no contact was exported for the operator call \"" + settings.m_strOprCall + "\"; " +
                       std::to_string(counters.Count(ExportCounters::NotSameOprCall)) +
                       " belong to other operator calls: ";
    for (std::size_t i = 0; i < calls.size() && i < kCallsNamed; ++i)
        text += (i ? ", \"" : "\"") + calls[i].first + "\" (" + std::to_string(calls[i].second) + ")";
    if (calls.size() > kCallsNamed) text += " and " + std::to_string(calls.size() - kCallsNamed) + " more";
    return text + ". Check the operator call.";
}
