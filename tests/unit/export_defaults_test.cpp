#include <gtest/gtest.h>

#include <sstream>

#include "cli/ExportCommand.h"
#include "cli/ExportOptions.h"
#include "settings/IniReaders.h"
#include "tests/support/TempPrefix.h"
#include "tests/unit/ExportTestSupport.h"

namespace {

const RunSettings kDialogOpens{"C:\\Qervel\\Data\\Qervel.mdb", "C:\\Qervel\\Refdata.mdb",
                               "C:\\Qervel\\adiUpld2Morvask.adi", "PA3ABC", "19451116", "20301231"};

TEST(ExportDefaults, OptionsLeftOutTakeWhatTheDialogOpensWith) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        RunSettings expected;
    };
    const std::vector<Case> cases = {
        {"no options at all", {}, kDialogOpens},
        {"given options win, the rest stay",
         {"--oprcall", "", "--start", "20120101", "--output", "/tmp/x.adi"},
         {kDialogOpens.m_strSourcePath, kDialogOpens.m_strRefdataPath, "/tmp/x.adi", "", "20120101", "20301231"}},
        {"empty dates take their defaults", {"--start", "", "--end", ""}, kDialogOpens},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunSettings s = ExportOptions::Parse(c.args).RunValues(kDialogOpens, "the settings file");
        EXPECT_EQ(s.m_strSourcePath, c.expected.m_strSourcePath);
        EXPECT_EQ(s.m_strRefdataPath, c.expected.m_strRefdataPath);
        EXPECT_EQ(s.m_strAdiPath, c.expected.m_strAdiPath);
        EXPECT_EQ(s.m_strOprCall, c.expected.m_strOprCall);
        EXPECT_EQ(s.m_strStartDate, c.expected.m_strStartDate);
        EXPECT_EQ(s.m_strEndDate, c.expected.m_strEndDate);
    }
}

// The operator must learn which value is unusable and where it came from.
TEST(ExportDefaults, RefusalNamesTheValueAndWhereItCameFrom) {
    RunSettings noDataPath = kDialogOpens;
    noDataPath.m_strSourcePath.clear();
    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::vector<std::string> mustContain;
    };
    const std::vector<Case> cases = {
        {"source left out and DATAPATH empty", {}, {"source database path is empty", "DATAPATH", "/p/Qvl2007.ini"}},
        {"source given empty", {"--source", ""}, {"source database path is empty", "--source is empty"}},
        {"short start date", {"--source", "a.mdb", "--start", "2012"}, {"start date \"2012\""}},
        {"empty output", {"--source", "a.mdb", "--output", ""}, {"--output is empty"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            ExportOptions::Parse(c.args).RunValues(noDataPath, "the settings file /p/Qvl2007.ini");
            ADD_FAILURE() << "accepted";
        } catch (const UsageError& e) {
            for (const std::string& part : c.mustContain) {
                EXPECT_NE(std::string(e.what()).find(part), std::string::npos) << e.what();
            }
        }
    }
}

// Windows paths from the settings file or the command line open the mapped host files; a
// drive the prefix does not know is an unusable value, not a failed export.
class ExportInPrefix : public testing::Test {
protected:
    void SetUp() override {
        hostSource = prefix.WriteFile("drive_c/Qervel/Data/QERVEL.MDB", "");
        prefix.MakeDir("drive_c/Qervel/Out");
        const std::string mapped = prefix.Root() + "/dosdevices/c:/Qervel/";
        TestQso qso;
        engine.SetTable(mapped + "Data/QERVEL.MDB", "QSO-TAB", {QsoTableColumns(), {qso.Row()}});
        engine.SetTable(mapped + "Data/QERVEL.MDB", "VERSION", {{{"VERSION"}}, {{std::string("6")}}});
        engine.SetTable(mapped + "Refdata.mdb", "PREFIX-Pri", {PrefixTableColumns(), {PrefixRow("DL", "230")}});
        prefix.WriteFile("drive_c/windows/Qvl2007.ini",
                         "[Dir]\r\nDATAPATH=c:\\qervel\\data\\qervel.mdb\r\nPGMPATH=C:\\QERVEL\\\r\n[Gen]\r\nOPRCALL=PA3ABC\r\n");
    }

    int Run(const std::vector<std::string>& args) {
        ExportCommand command(engine, out, err, std::nullopt, WinePrefix(prefix.Root()));
        return command.Run(ExportOptions::Parse(args));
    }

    TempPrefix prefix;
    MemoryEngine engine;
    std::ostringstream out, err;
    std::string hostSource;
};

TEST_F(ExportInPrefix, NoOptionsWritesAtTheMappedProgramDirectory) {
    EXPECT_EQ(Run({}), 0) << err.str();
    EXPECT_EQ(ReadFile(prefix.Root() + "/drive_c/Qervel/adiUpld2Morvask.adi").substr(0, kAdiHeader.size()), kAdiHeader);
}

TEST_F(ExportInPrefix, OutputNameIsKeptAsWritten) {
    EXPECT_EQ(Run({"--output", "C:\\qervel\\out\\MY.ADI"}), 0) << err.str();
    EXPECT_EQ(ReadFile(prefix.Root() + "/drive_c/Qervel/Out/MY.ADI").substr(0, kAdiHeader.size()), kAdiHeader);
}

TEST_F(ExportInPrefix, UnmappedDriveIsRefusedWithExitTwo) {
    EXPECT_EQ(Run({"--source", "E:\\Log\\Qervel.mdb"}), ExportCommand::kUsage);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find("--source: Drive E:"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find(prefix.Root()), std::string::npos) << err.str();
}

}  // namespace
