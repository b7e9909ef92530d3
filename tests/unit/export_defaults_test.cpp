#include <gtest/gtest.h>

#include "cli/ExportOptions.h"

namespace {

const RunSettings kDialogOpens{"C:\\Q\\Data\\Qervel.mdb", "C:\\Q\\Refdata.mdb", "C:\\Q\\adiUpld2Morvask.adi",
                               "PA3ABC", "19451116", "20301231"};

std::string Joined(const RunSettings& s) {
    return s.m_strSourcePath + "|" + s.m_strRefdataPath + "|" + s.m_strAdiPath + "|" + s.m_strOprCall + "|" +
           s.m_strStartDate + "|" + s.m_strEndDate;
}

TEST(ExportDefaults, OptionsLeftOutTakeWhatTheDialogOpensWith) {
    const struct {
        const char* name;
        std::vector<std::string> args;
        std::string expected;
    } cases[] = {
        {"no options at all", {}, Joined(kDialogOpens)},
        {"given options win, the rest stay", {"--oprcall", "", "--start", "20120101", "--output", "/tmp/x.adi"},
         "C:\\Q\\Data\\Qervel.mdb|C:\\Q\\Refdata.mdb|/tmp/x.adi||20120101|20301231"},
        {"dates given empty take their defaults", {"--start", "", "--end", ""}, Joined(kDialogOpens)},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(Joined(ExportOptions::Parse(row.args).RunValues(kDialogOpens, "the settings file")), row.expected)
            << row.name;
    }
}

}  // namespace
