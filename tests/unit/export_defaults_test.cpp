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

// The operator must learn which value is unusable and where it came from.
TEST(ExportDefaults, RefusalNamesTheValueAndWhereItCameFrom) {
    RunSettings noDataPath = kDialogOpens;
    noDataPath.m_strSourcePath.clear();
    const struct {
        std::vector<std::string> args;
        std::string mustSay;
    } cases[] = {
        {{}, "source database path is empty: name the logging program's database file with --source PATH, or as "
             "DATAPATH in section [Dir] of the settings file /p/Qvl2007.ini"},
        {{"--source", ""}, "(--source is empty)"},
        {{"--source", "a.mdb", "--start", "2012"}, "start date \"2012\" is shorter than 8 characters"},
        {{"--source", "a.mdb", "--output", ""}, "--output is empty"},
    };
    for (const auto& row : cases) {
        try {
            ExportOptions::Parse(row.args).RunValues(noDataPath, "the settings file /p/Qvl2007.ini");
            ADD_FAILURE() << "accepted: " << row.mustSay;
        } catch (const UsageError& e) {
            EXPECT_NE(std::string(e.what()).find(row.mustSay), std::string::npos) << e.what();
        }
    }
}

}  // namespace
