#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "export/ExportCounters.h"
#include "settings/RunSettings.h"

// What the exporter tells the operator about a run that goes ahead but can hardly do what
// was meant: a date that is no calendar day, a start after the end, and a log in which no
// contact is the operator's own. Warnings never change the exit status.
class RunWarnings {
public:
    // Before the walk, about the two dates as the run compares them.
    static std::vector<std::string> ForDates(const RunSettings& settings);
    // Whether date is a day of the calendar written YYYYMMDD.
    static bool IsCalendarDay(const std::string& date);

    // During the walk, for each contact counted as another operator's.
    void CountOtherOperator(const std::string& oprCall);
    // After the walk: when no contact was accepted while some were other operators', the
    // operator calls the log holds, most frequent first, so that a mistyped call shows.
    std::optional<std::string> ForOperators(const RunSettings& settings, const ExportCounters& counters) const;

private:
    std::unordered_map<std::string, long> m_otherCalls;
};
