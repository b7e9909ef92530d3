#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "settings/PrefixSearch.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/unit/ExportTestSupport.h"

namespace {

namespace fs = std::filesystem;
using Origin = PrefixSearch::Origin;

// One entry below the temporary home: a folder when the path ends in "/", else a file with
// `text`, its change time `changed` seconds after the epoch when given.
struct HomeEntry {
    std::string path;
    std::string text = {};
    std::optional<long> changed = {};
};

void Lay(const std::string& home, const std::vector<HomeEntry>& entries) {
    for (const HomeEntry& entry : entries) {
        const fs::path path = fs::path(home) / entry.path;
        if (entry.path.ends_with("/")) {
            fs::create_directories(path);
            continue;
        }
        fs::create_directories(path.parent_path());
        WriteFile(path.string(), entry.text);
        if (entry.changed) {
            const timespec times[2] = {{*entry.changed, 0}, {*entry.changed, 0}};
            ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
        }
    }
}

const std::string kIni = "drive_c/windows/Qvl2007.ini";
const std::string kBottle = ".local/share/bottles/bottles/Qervel/";
const std::string kPlayOnLinux = ".PlayOnLinux/wineprefix/Qervel/";
const std::string kGames = "Games/qervel/";

// Each row is a home folder laid out as an operator's, with the front ends' own folders.
TEST(PrefixSearch, FindsTheLoggingProgramWhereTheFrontEndsPutIt) {
    const struct {
        const char* name;
        std::vector<HomeEntry> home;
        std::optional<std::string> winePrefix;  // "~" stands for the home folder
        std::string expected;                   // below the home folder; "" for no prefix at all
        Origin origin;
        std::size_t candidates = 0;
    } cases[] = {
        {"WINEPREFIX wins even when it holds no Qervel",
         {{kBottle + kIni, ""}, {"elsewhere/drive_c/"}},
         "~/elsewhere",
         "elsewhere",
         Origin::WinePrefixVariable},
        {"an empty WINEPREFIX counts as unset", {{kBottle + kIni, ""}}, "", kBottle, Origin::FrontEnd, 1},
        {"~/.wine with the file in other letter case beats a newer front end",
         {{".wine/drive_c/Windows/QVL2007.INI", "", 100}, {kBottle + kIni, "", 200}},
         std::nullopt,
         ".wine",
         Origin::DefaultPrefix},
        {"Bottles", {{".wine/drive_c/windows/"}, {kBottle + kIni, ""}}, std::nullopt, kBottle, Origin::FrontEnd, 1},
        {"Bottles as a Flatpak",
         {{".var/app/com.usebottles.bottles/data/bottles/bottles/Q/" + kIni, ""}},
         std::nullopt,
         ".var/app/com.usebottles.bottles/data/bottles/bottles/Q/",
         Origin::FrontEnd,
         1},
        {"PlayOnLinux",
         {{kPlayOnLinux + "drive_c/windows/qvl2007.ini", ""}},
         std::nullopt,
         kPlayOnLinux,
         Origin::FrontEnd,
         1},
        {"a Lutris game's prefix, quoted, with a blank in it",
         {{".config/lutris/games/qervel-1712345678.yml",
           "game:\n  exe: /x/Qervel.exe\n  prefix: '~/wine prefixes/q'\nsystem: {}\n"},
          {"wine prefixes/q/" + kIni, ""}},
         std::nullopt,
         "wine prefixes/q/",
         Origin::FrontEnd,
         1},
        {"a newer Lutris keeps its games in its data folder",
         {{".local/share/lutris/games/q.yml", "game:\n  prefix: \"~/pfx\"\n"}, {"pfx/" + kIni, ""}},
         std::nullopt,
         "pfx/",
         Origin::FrontEnd,
         1},
        {"Lutris' default folder below ~/Games", {{kGames + kIni, ""}}, std::nullopt, kGames, Origin::FrontEnd, 1},
        {"a CrossOver bottle",
         {{".cxoffice/Qervel/" + kIni, ""}},
         std::nullopt,
         ".cxoffice/Qervel/",
         Origin::FrontEnd,
         1},
        {"several: the newest settings file wins, not the first searched",
         {{kBottle + kIni, "", 100}, {kPlayOnLinux + kIni, "", 300}, {kGames + kIni, "", 200}},
         std::nullopt,
         kPlayOnLinux,
         Origin::FrontEnd,
         3},
        {"a prefix without the file, broken and native Lutris games are passed over",
         {{".local/share/bottles/bottles/Empty/drive_c/windows/"},
          {".config/lutris/games/broken.yml", "game: [\n"},
          {".config/lutris/games/native.yml", "game:\n  exe: /usr/games/x\n"},
          {kGames + kIni, ""}},
         std::nullopt,
         kGames,
         Origin::FrontEnd,
         1},
        {"a prefix reached twice counts once",
         {{".config/lutris/games/q.yml", "game:\n  prefix: ~/Games/qervel\n"}, {kGames + kIni, ""}},
         std::nullopt,
         kGames,
         Origin::FrontEnd,
         1},
        {"none: ~/.wine as before, so its values are those of a missing file",
         {{".local/share/bottles/bottles/Empty/drive_c/windows/Qvl2007.ini.bak", ""}},
         std::nullopt,
         ".wine",
         Origin::NotFound},
    };
    for (const auto& row : cases) {
        TempDir dir;
        const std::string home = dir.File("home");
        fs::create_directories(home);
        Lay(home, row.home);
        PrefixSearch::Environment environment;
        environment.home = home;
        environment.dataHome = home + "/.local/share";
        environment.configHome = home + "/.config";
        if (row.winePrefix) {
            environment.winePrefix = *row.winePrefix;
            if (environment.winePrefix->starts_with("~")) environment.winePrefix->replace(0, 1, home);
        }
        const PrefixSearch::Result found = PrefixSearch::Find(environment);
        std::string expected = home + "/" + row.expected;
        if (expected.ends_with("/")) expected.pop_back();
        EXPECT_EQ(fs::path(found.prefix.Root()).lexically_normal(), fs::path(expected).lexically_normal()) << row.name;
        EXPECT_EQ(found.origin, row.origin) << row.name;
        EXPECT_EQ(found.candidates, row.candidates) << row.name;
    }
}

// The process's own environment: an empty WINEPREFIX is as good as none, and the front
// ends' folders follow HOME unless the XDG variables move them. Without a home there is no
// prefix unless WINEPREFIX names one.
TEST(PrefixSearch, ReadsWineprefixHomeAndTheXdgFolders) {
    ScopedEnvironment env(
        {{"HOME", "/home/op"}, {"WINEPREFIX", ""}, {"XDG_DATA_HOME", std::nullopt}, {"XDG_CONFIG_HOME", "/cfg"}});
    PrefixSearch::Environment environment = PrefixSearch::Environment::Current();
    EXPECT_EQ(environment.dataHome, "/home/op/.local/share");
    EXPECT_EQ(environment.configHome, "/cfg");
    EXPECT_EQ(PrefixSearch::FromEnvironment().prefix.WindowsDirectory(), "/home/op/.wine/drive_c/windows");
    EXPECT_EQ(PrefixSearch::Find({}).prefix.Root(), "");
    EXPECT_EQ(PrefixSearch::Find({std::string("/srv/wine"), "", "", ""}).prefix.Root(), "/srv/wine");
}

}  // namespace
