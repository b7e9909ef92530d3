#include <gtest/gtest.h>

#include "cli/RunWarnings.h"

namespace {

TEST(RunWarnings, ACalendarDayIsEightDigitsOfARealDay) {
    const std::pair<const char*, bool> cases[] = {
        {"20120229", true},  {"20130229", false},  {"20000229", true},  {"19000229", false}, {"20120230", false},
        {"20120431", false}, {"20121231", true},   {"20121301", false}, {"20120100", false}, {"20120001", false},
        {"2012013A", false}, {"201201011", false}, {"2012-1-1", false}, {"", false},
    };
    for (const auto& [date, day] : cases) EXPECT_EQ(RunWarnings::IsCalendarDay(date), day) << date;
}

// The calls that are most likely meant come first; equal counts in a fixed order, so that
// the same log always gives the same text; past five, only how many more there are.
TEST(RunWarnings, NamesTheFiveMostFrequentOtherCallsOnlyWhenNoContactWasAccepted) {
    RunWarnings warnings;
    const std::pair<const char*, int> calls[] = {{"DL1AA", 2}, {"PA3ABC", 9}, {"", 2},   {"G4X", 1},
                                                 {"ON4Z", 1},  {"K1A", 1},    {"F5B", 3}};
    ExportCounters counters;
    counters.Reset();
    for (const auto& [call, times] : calls) {
        for (int i = 0; i < times; ++i) {
            warnings.CountOtherOperator(call);
            counters.Add(ExportCounters::NotSameOprCall);
        }
    }
    RunSettings settings;
    settings.m_strOprCall = "PA3ABD";
    EXPECT_EQ(warnings.ForOperators(settings, counters).value_or("none"),
              "no contact was exported for the operator call \"PA3ABD\"; 19 belong to other operator calls: "
              "\"PA3ABC\" (9), \"F5B\" (3), \"\" (2), \"DL1AA\" (2), \"G4X\" (1) and 2 more. Check the operator call.");
    counters.Add(ExportCounters::Valid);
    EXPECT_FALSE(warnings.ForOperators(settings, counters)) << "one contact was the operator's own";
    EXPECT_FALSE(RunWarnings().ForOperators(settings, ExportCounters())) << "an empty log";
}

}  // namespace
