#include <gtest/gtest.h>

#include "cli/ExportOptions.h"
#include "tests/integration/ExporterProcess.h"
#include "tests/support/TempPrefix.h"

namespace {

// An option given wins over what the dialog opens with, even when it is given empty (an
// empty date then takes its default); the options left out keep the dialog's values.
TEST(ExportDefaults, GivenOptionsWinAndTheRestTakeWhatTheDialogOpensWith) {
    const RunSettings s =
        ExportOptions::Parse({"--oprcall", "", "--start", "20120101", "--end", "", "--output", "/tmp/x.adi"})
            .RunValues({"C:\\Q.mdb", "C:\\R.mdb", "C:\\A.adi", "PA3ABC", "19451116", "20301231"}, "");
    EXPECT_EQ(s.m_strSourcePath + "|" + s.m_strRefdataPath + "|" + s.m_strAdiPath + "|" + s.m_strOprCall + "|" +
                  s.m_strStartDate + "|" + s.m_strEndDate,
              "C:\\Q.mdb|C:\\R.mdb|/tmp/x.adi||20120101|20301231");
}

// The operator must learn which value is unusable, where it came from and what to do.
TEST(ExportDefaultsCli, UnusableSettingsSayWhichValueAndExitTwo) {
    TempPrefix prefix;
    const struct {
        const char* name;
        std::string settingsFile;
        std::vector<std::string> args;
        std::string mustSay;
    } cases[] = {
        {"no DATAPATH",
         "[Gen]\nOPRCALL=PA3ABC\n",
         {},
         "source database path is empty: name the logging program's database file with --source PATH, or as "
         "DATAPATH in section [Dir] of the settings file " +
             prefix.Root() + "/drive_c/windows/Qvl2007.ini"},
        {"empty output", "[Dir]\nDATAPATH=C:\\Qervel.mdb\n", {"--output", ""}, "--output is empty"},
        {"four-character start date",
         "[Dir]\nDATAPATH=C:\\Qervel.mdb\n",
         {"--start", "2012"},
         "the start date \"2012\" is shorter than 8 characters"},
        {"DATAPATH on a drive the prefix lacks",
         "[Dir]\nDATAPATH=M:\\Log\\Qervel.mdb\n",
         {},
         "--source: Drive M: of \"M:\\Log\\Qervel.mdb\" is not mapped in the Wine prefix \"" + prefix.Root()},
    };
    for (const auto& c : cases) {
        prefix.WriteFile("drive_c/windows/Qvl2007.ini", c.settingsFile);
        ExporterProcess run(c.args, -1, prefix.Root());
        EXPECT_EQ(run.Wait(), 2) << c.name;
        EXPECT_EQ(run.Stdout(), "") << c.name;
        EXPECT_NE(run.Stderr().find(c.mustSay), std::string::npos) << c.name << ": " << run.Stderr();
    }
}

}  // namespace
