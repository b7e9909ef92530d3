#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>

#include "tests/integration/ExporterProcess.h"

namespace {

namespace fs = std::filesystem;

const std::string kSample = std::string(MORVASK_TEST_DATA) + "/sample";

// HOME for the exporters started meanwhile, with the XDG folders following it.
class HomeForChildren {
public:
    explicit HomeForChildren(const std::string& home) {
        for (const char* name : kNames) {
            const char* value = std::getenv(name);
            m_saved.push_back(value ? std::optional<std::string>(value) : std::nullopt);
            unsetenv(name);
        }
        setenv("HOME", home.c_str(), 1);
    }
    ~HomeForChildren() {
        for (std::size_t i = 0; i < m_saved.size(); ++i)
            m_saved[i] ? setenv(kNames[i], m_saved[i]->c_str(), 1) : unsetenv(kNames[i]);
    }

private:
    static constexpr const char* kNames[] = {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"};
    std::vector<std::optional<std::string>> m_saved;
};

// A Bottles bottle below `home` with the sample log installed as Qervel installs it.
std::string InstallInBottle(const std::string& home) {
    const std::string bottle = home + "/.local/share/bottles/bottles/Qervel Log";
    fs::create_directories(bottle + "/drive_c/windows");
    fs::create_directories(bottle + "/drive_c/Qervel");
    fs::create_directories(bottle + "/dosdevices");
    fs::create_directory_symlink("../drive_c", bottle + "/dosdevices/c:");
    fs::copy_file(kSample + "/source.mdb", bottle + "/drive_c/Qervel/Qervel.mdb");
    fs::copy_file(kSample + "/Refdata.mdb", bottle + "/drive_c/Qervel/Refdata.mdb");
    WriteFile(bottle + "/drive_c/windows/Qvl2007.ini",
              "[Dir]\r\nDATAPATH=C:\\Qervel\\Qervel.mdb\r\nPGMPATH=C:\\Qervel\\\r\n[Gen]\r\nOPRCALL=PA3ABC\r\n");
    return bottle;
}

// With WINEPREFIX empty and ~/.wine empty of Qervel, the exporter finds the bottle, says so
// on standard error and exports from it exactly as from any prefix.
TEST(PrefixCli, ExportsFromThePrefixItFoundAndNamesIt) {
    TempDir dir;
    const std::string home = dir.File("home");
    fs::create_directories(home + "/.wine/drive_c/windows");
    const std::string bottle = InstallInBottle(home);
    HomeForChildren env(home);

    ExporterProcess run({}, -1, "");
    ASSERT_EQ(run.Wait(), 0) << run.Stderr();
    EXPECT_EQ(run.Stdout(), ReadFile(kSample + "/expected.counts"));
    const std::string said = run.Stderr();
    EXPECT_TRUE(said.starts_with("morvask-export: using the Wine prefix \"" + bottle + "\" ")) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_EQ(ReadFile(bottle + "/drive_c/Qervel/adiUpld2Morvask.adi"), ReadFile(kSample + "/expected.adi"));
}

// --wineprefix is the one place looked at, for scripts; the settings file found there is
// reported when it cannot be read, before the refusal that its missing values bring.
TEST(PrefixCli, WineprefixOptionOverridesAndUnreadableSettingsAreNamed) {
    TempDir dir;
    const std::string home = dir.File("home");
    const std::string bottle = InstallInBottle(home);
    const std::string ini = bottle + "/drive_c/windows/Qvl2007.ini";
    HomeForChildren env(home);
    const struct {
        const char* name;
        std::vector<std::string> args;
        std::function<void()> spoil;  // breaks the bottle's settings file; restored afterwards
        int exitCode;
        std::string stderrStart;
    } cases[] = {
        {"the bottle by option, WINEPREFIX naming nothing", {"--wineprefix", bottle}, nullptr, 0, ""},
        {"an option naming a missing folder",
         {"--wineprefix", home + "/nope"},
         nullptr,
         2,
         "morvask-export: --wineprefix: \"" + home + "/nope\" is no folder"},
        {"a folder as the settings file",
         {"--wineprefix", bottle},
         [&] {
             fs::remove(ini);
             fs::create_directory(ini);
         },
         2,
         "morvask-export: Qervel's settings file \"" + ini +
             "\" cannot be read: it is a folder, not a file. Its values are left empty: make it a file you can read "
             "again, or enter the values by hand.\nmorvask-export: the source database path is empty"},
        {"a pipe as the settings file, never waited on",
         {"--wineprefix", bottle},
         [&] {
             fs::remove(ini);
             ASSERT_EQ(::mkfifo(ini.c_str(), 0600), 0);
         },
         2,
         "morvask-export: Qervel's settings file \"" + ini + "\" cannot be read: it is a named pipe"},
    };
    const std::string settings = ReadFile(ini);
    for (const auto& row : cases) {
        if (row.spoil) row.spoil();
        ExporterProcess run(row.args);
        EXPECT_EQ(run.Wait(), row.exitCode) << row.name << ": " << run.Stderr();
        if (row.stderrStart.empty()) {
            EXPECT_EQ(run.Stderr(), "") << row.name;
        }
        EXPECT_TRUE(run.Stderr().starts_with(row.stderrStart)) << row.name << ": " << run.Stderr();
        if (row.exitCode == 0) {
            EXPECT_EQ(run.Stdout(), ReadFile(kSample + "/expected.counts")) << row.name;
        }
        fs::remove_all(ini);
        WriteFile(ini, settings);
    }
}

}  // namespace
