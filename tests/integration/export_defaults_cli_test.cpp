#include <gtest/gtest.h>

#include "tests/integration/ExporterProcess.h"
#include "tests/support/TempPrefix.h"
#include "tools/sampledb/SampleInstallation.h"

namespace {

const std::string kSample = std::string(MORVASK_TEST_DATA) + "/sample";

// A run with no options must write, at the mapped PGMPATH location, exactly what a run with
// the same values given explicitly writes to its --output.
void ExpectBareRunMatchesExplicitRun(const std::string& prefixRoot, const std::string& pgmDir,
                                     const std::string& source, const std::string& refdata) {
    ExporterProcess bare({}, -1, prefixRoot);
    ASSERT_EQ(bare.Wait(), 0) << bare.Stderr();

    TempDir dir;
    ExporterProcess explicitRun({"--source", source, "--refdata", refdata, "--output", dir.File("out.adi"), "--oprcall",
                                 "PA3ABC", "--start", "19451116", "--end", "20301231"});
    ASSERT_EQ(explicitRun.Wait(), 0) << explicitRun.Stderr();

    EXPECT_EQ(bare.Stdout(), explicitRun.Stdout());
    EXPECT_EQ(bare.Stderr(), "");
    const std::string written = ReadFile(pgmDir + "/adiUpld2Morvask.adi");
    EXPECT_FALSE(written.empty());
    EXPECT_EQ(written, ReadFile(dir.File("out.adi")));
}

// The sample log where the logging program keeps it, with a settings file whose paths
// differ in letter case from the disk.
TEST(ExportDefaultsCli, NoOptionsExportsTheSampleLogInAPrefix) {
    TempPrefix prefix;
    const std::string pgmDir = prefix.Root() + "/drive_c/Program Files/Qervel";
    prefix.WriteFile("drive_c/Program Files/Qervel/Data/Qervel.mdb", ReadFile(kSample + "/source.mdb"));
    prefix.WriteFile("drive_c/Program Files/Qervel/Refdata.mdb", ReadFile(kSample + "/Refdata.mdb"));
    prefix.WriteFile("drive_c/windows/QVL2007.INI",
                     "[Dir]\r\nDATAPATH=C:\\Program Files\\Qervel\\Data\\QERVEL.MDB\r\n"
                     "PGMPATH=c:\\program files\\qervel\\\r\n[Gen]\r\nOPRCALL=PA3ABC\r\n");
    ExpectBareRunMatchesExplicitRun(prefix.Root(), pgmDir, kSample + "/source.mdb", kSample + "/Refdata.mdb");
    EXPECT_EQ(ReadFile(pgmDir + "/adiUpld2Morvask.adi"), ReadFile(kSample + "/expected.adi"));

    // A Windows --output: its folder is found in any letter case, its name kept as written.
    ExporterProcess named({"--output", "c:\\PROGRAM FILES\\qervel\\Upload.ADI"}, -1, prefix.Root());
    ASSERT_EQ(named.Wait(), 0) << named.Stderr();
    EXPECT_EQ(ReadFile(pgmDir + "/Upload.ADI"), ReadFile(kSample + "/expected.adi"));
}

TEST(ExportDefaultsCli, NoOptionsExportsTheWrittenSampleInstallation) {
    TempDir dir;
    const std::string root = dir.File("Qervel prefix");
    SampleInstallation::Options options;
    options.contacts = 60;
    options.seed = 7;
    SampleInstallation::Write(root, options);
    const std::string pgmDir = root + "/drive_c/Program Files/Qervel";
    ExpectBareRunMatchesExplicitRun(root, pgmDir, pgmDir + "/Data/Qervel.mdb", pgmDir + "/Refdata.mdb");
}

// The operator must learn which value is unusable, where it came from and what to do.
TEST(ExportDefaultsCli, UnusableSettingsSayWhichValueAndExitTwo) {
    TempPrefix prefix;
    struct Case {
        const char* name;
        std::string settingsFile;
        std::vector<std::string> args;
        std::string mustSay;
    };
    const std::vector<Case> cases = {
        {"no DATAPATH", "[Gen]\nOPRCALL=PA3ABC\n", {},
         "source database path is empty: name the logging program's database file with --source PATH, or as "
         "DATAPATH in section [Dir] of the settings file " + prefix.Root() + "/drive_c/windows/Qvl2007.ini"},
        {"source given empty", "[Dir]\nDATAPATH=C:\\Qervel.mdb\n", {"--source", ""}, "(--source is empty)"},
        {"empty output", "[Dir]\nDATAPATH=C:\\Qervel.mdb\n", {"--output", ""}, "--output is empty"},
        {"DATAPATH on a drive the prefix lacks", "[Dir]\nDATAPATH=M:\\Log\\Qervel.mdb\n", {},
         "--source: Drive M: of \"M:\\Log\\Qervel.mdb\" is not mapped in the Wine prefix \"" + prefix.Root()},
        {"short end date", "[Dir]\nDATAPATH=C:\\Qervel.mdb\n", {"--end", "2030"}, "end date \"2030\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prefix.WriteFile("drive_c/windows/Qvl2007.ini", c.settingsFile);
        ExporterProcess run(c.args, -1, prefix.Root());
        EXPECT_EQ(run.Wait(), 2);
        EXPECT_EQ(run.Stdout(), "");
        EXPECT_NE(run.Stderr().find(c.mustSay), std::string::npos) << run.Stderr();
    }
}

}  // namespace
