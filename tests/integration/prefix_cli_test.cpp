#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "tests/integration/ExporterProcess.h"
#include "tests/support/ScopedEnvironment.h"

namespace {

namespace fs = std::filesystem;

const std::string kSample = std::string(MORVASK_TEST_DATA) + "/sample";

// A Bottles bottle below `home` with the sample log where Qervel installs it; the settings
// file and the paths in it differ in letter case from the disk, which Wine does not mind.
std::string InstallInBottle(const std::string& home) {
    const std::string bottle = home + "/.local/share/bottles/bottles/Qervel Log";
    const std::string qervel = bottle + "/drive_c/Program Files/Qervel";
    fs::create_directories(qervel + "/Data");
    fs::create_directories(bottle + "/drive_c/windows");
    fs::create_directories(bottle + "/dosdevices");
    fs::create_directory_symlink("../drive_c", bottle + "/dosdevices/c:");
    fs::copy_file(kSample + "/source.mdb", qervel + "/Data/Qervel.mdb");
    fs::copy_file(kSample + "/Refdata.mdb", qervel + "/Refdata.mdb");
    WriteFile(bottle + "/drive_c/windows/QVL2007.INI",
              "[Dir]\r\nDATAPATH=C:\\Program Files\\Qervel\\Data\\QERVEL.MDB\r\n"
              "PGMPATH=c:\\program files\\qervel\\\r\n[Gen]\r\nOPRCALL=PA3ABC\r\n");
    return bottle;
}

// With WINEPREFIX empty and ~/.wine empty of Qervel, the exporter finds the bottle, says so
// on standard error and, with no options, exports from it to the mapped PGMPATH folder.
TEST(PrefixCli, ExportsFromThePrefixItFoundAndNamesIt) {
    TempDir home;
    home.MakeDir(".wine/drive_c/windows");
    const std::string bottle = InstallInBottle(home.Root());
    ScopedEnvironment env({{"HOME", home.Root()}, {"XDG_DATA_HOME", std::nullopt}, {"XDG_CONFIG_HOME", std::nullopt}});

    ExporterProcess run({}, -1, "");
    ASSERT_EQ(run.Wait(), 0) << run.Stderr();
    EXPECT_EQ(run.Stdout(), ReadFile(kSample + "/expected.counts"));
    const std::string said = run.Stderr();
    EXPECT_TRUE(said.starts_with("morvask-export: using the Wine prefix \"" + bottle + "\" ")) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_EQ(ReadFile(bottle + "/drive_c/Program Files/Qervel/adiUpld2Morvask.adi"),
              ReadFile(kSample + "/expected.adi"));
}

// --wineprefix is the one place looked at, for scripts; the settings file found there is
// reported when it cannot be read, without waiting on a pipe, before the refusal that its
// missing values bring.
TEST(PrefixCli, WineprefixOptionOverridesAndUnreadableSettingsAreNamed) {
    TempDir home;
    const std::string bottle = InstallInBottle(home.Root());
    const std::string ini = bottle + "/drive_c/windows/QVL2007.INI";
    ScopedEnvironment env({{"HOME", home.Root()}, {"XDG_DATA_HOME", std::nullopt}, {"XDG_CONFIG_HOME", std::nullopt}});

    ExporterProcess found({"--wineprefix", bottle});
    EXPECT_EQ(found.Wait(), 0) << found.Stderr();
    EXPECT_EQ(found.Stderr(), "") << "WINEPREFIX names a folder without Qervel";
    EXPECT_EQ(found.Stdout(), ReadFile(kSample + "/expected.counts"));

    ExporterProcess missing({"--wineprefix", home.File("nope")});
    EXPECT_EQ(missing.Wait(), 2);
    EXPECT_TRUE(
        missing.Stderr().starts_with("morvask-export: --wineprefix: \"" + home.File("nope") + "\" is no folder"))
        << missing.Stderr();

    fs::remove(ini);
    ASSERT_EQ(::mkfifo(ini.c_str(), 0600), 0);
    ExporterProcess piped({"--wineprefix", bottle});
    EXPECT_EQ(piped.Wait(std::chrono::seconds(20)), 2) << "-1: it was still waiting";
    EXPECT_TRUE(piped.Stderr().starts_with(
        "morvask-export: Qervel's settings file \"" + ini +
        "\" cannot be read: it is a named pipe (FIFO), not a regular file. Its values are left empty: make it a file "
        "you can read again, or enter the values by hand.\nmorvask-export: the source database path is empty: name the "
        "logging program's database file with --source PATH, or as DATAPATH in section [Dir] of the settings file " +
        ini + "\n"))
        << piped.Stderr();
}

}  // namespace
