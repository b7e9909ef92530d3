#include <gtest/gtest.h>

#include <string>

#include "settings/IniReaders.h"
#include "tests/support/TempPrefix.h"

namespace {

struct Readout {
    std::string source, oprCall, refdata, adi;
};

Readout ReadBoth(const WinePrefix& wine) {
    Readout r;
    ReadIniDataPath(wine, r.source, r.oprCall);
    ReadIniPgmPath(wine, r.refdata, r.adi);
    return r;
}

TEST(IniReaders, WithoutSettingsFileThePathsStandOnTheRoot) {
    TempPrefix emptyPrefix;
    for (const std::string& root : {emptyPrefix.Root(), std::string("/nonexistent/prefix"), std::string()}) {
        Readout r = ReadBoth(WinePrefix(root));
        EXPECT_EQ(r.source, "") << root;
        EXPECT_EQ(r.oprCall, "") << root;
        EXPECT_EQ(r.refdata, "\\Refdata.mdb") << root;
        EXPECT_EQ(r.adi, "\\adiUpld2Morvask.adi") << root;
    }
}

struct IniCase {
    const char* name;
    std::string settingsFile;
    Readout expected;
};

class IniReadout : public testing::TestWithParam<IniCase> {};

TEST_P(IniReadout, GivesTheDialogsStartingValues) {
    const IniCase& c = GetParam();
    TempPrefix prefix;
    prefix.WriteFile("drive_c/windows/Qvl2007.ini", c.settingsFile);
    Readout r = ReadBoth(WinePrefix(prefix.Root()));
    EXPECT_EQ(r.source, c.expected.source);
    EXPECT_EQ(r.oprCall, c.expected.oprCall);
    EXPECT_EQ(r.refdata, c.expected.refdata);
    EXPECT_EQ(r.adi, c.expected.adi);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, IniReadout,
    testing::Values(
        IniCase{"pgmpath_with_trailing_backslash",
                "[Dir]\r\nDATAPATH=D:\\Log\\Qervel.mdb\r\nPGMPATH=D:\\Log\\\r\n[Gen]\r\nOPRCALL=PA3ABC\r\n",
                {"D:\\Log\\Qervel.mdb", "PA3ABC", "D:\\Log\\Refdata.mdb", "D:\\Log\\adiUpld2Morvask.adi"}},
        IniCase{"pgmpath_without_trailing_backslash", "[Dir]\nPGMPATH=D:\\Log\n",
                {"", "", "D:\\Log\\Refdata.mdb", "D:\\Log\\adiUpld2Morvask.adi"}},
        IniCase{"two_trailing_backslashes_lose_only_one", "[Dir]\nPGMPATH=D:\\Log\\\\\n",
                {"", "", "D:\\Log\\\\Refdata.mdb", "D:\\Log\\\\adiUpld2Morvask.adi"}},
        IniCase{"pgmpath_blank_inside_quotes_is_not_trimmed", "[Dir]\nPGMPATH=\"D:\\Log \"\n",
                {"", "", "D:\\Log \\Refdata.mdb", "D:\\Log \\adiUpld2Morvask.adi"}},
        IniCase{"datapath_keeps_its_trailing_backslash", "[Dir]\nDATAPATH=C:\\Qervel\\\n",
                {"C:\\Qervel\\", "", "\\Refdata.mdb", "\\adiUpld2Morvask.adi"}},
        IniCase{"trailing_white_space_goes_leading_stays", "[Dir]\nDATAPATH=\"  C:\\Q.mdb \t\"\n[Gen]\nOPRCALL='PA3ABC \t'\n",
                {"  C:\\Q.mdb", "PA3ABC", "\\Refdata.mdb", "\\adiUpld2Morvask.adi"}},
        IniCase{"keys_in_other_sections_are_not_taken", "[Gen]\nDATAPATH=C:\\wrong.mdb\nPGMPATH=C:\\wrong\n[Dir]\nOPRCALL=WRONG\n",
                {"", "", "\\Refdata.mdb", "\\adiUpld2Morvask.adi"}}),
    [](const testing::TestParamInfo<IniCase>& row) { return std::string(row.param.name); });

TEST(IniReaders, SettingsFileNameMatchesInAnyLetterCase) {
    TempPrefix prefix;
    prefix.WriteFile("drive_c/windows/QVL2007.INI", "[Gen]\nOPRCALL=PA3ABC\n");
    std::string source, oprCall;
    ReadIniDataPath(WinePrefix(prefix.Root()), source, oprCall);
    EXPECT_EQ(oprCall, "PA3ABC");
}

// Every showing of the dialog reads the file again; a reader that kept the first
// readout would show stale paths after the operator fixed the file.
TEST(IniReaders, EachCallReadsTheFileAsItIsThen) {
    TempPrefix prefix;
    WinePrefix wine(prefix.Root());
    std::string refdata, adi;
    prefix.WriteFile("drive_c/windows/Qvl2007.ini", "[Dir]\nPGMPATH=C:\\Old\n");
    ReadIniPgmPath(wine, refdata, adi);
    prefix.WriteFile("drive_c/windows/Qvl2007.ini", "[Dir]\nPGMPATH=C:\\New\n");
    ReadIniPgmPath(wine, refdata, adi);
    EXPECT_EQ(refdata, "C:\\New\\Refdata.mdb");
}

}  // namespace
