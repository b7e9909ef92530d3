#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "settings/IniReaders.h"
#include "tests/support/TempPrefix.h"
#include "tests/unit/ExportTestSupport.h"

namespace {

// The four values the dialog's initialisation reads, joined: source|call|refdata|adi.
std::string ReadAll(const WinePrefix& wine) {
    std::string source, oprCall, refdata, adi;
    ReadIniDataPath(wine, source, oprCall);
    ReadIniPgmPath(wine, refdata, adi);
    return source + "|" + oprCall + "|" + refdata + "|" + adi;
}

// All rows share one prefix and one WinePrefix, each writing its own settings file: a
// reader that kept an earlier readout would show stale paths after the operator fixed
// the file.
TEST(IniReaders, GiveTheDialogsStartingValuesFromTheFileAsItIsThen) {
    const std::string none = "||\\Refdata.mdb|\\adiUpld2Morvask.adi";
    const struct {
        const char* name;
        const char* fileName;
        std::string contents;
        std::string expected;
    } cases[] = {
        {"PGMPATH with a trailing backslash", "Qvl2007.ini",
         "[Dir]\r\nDATAPATH=D:\\Log\\Qervel.mdb\r\nPGMPATH=D:\\Log\\\r\n[Gen]\r\nOPRCALL=PA3ABC\r\n",
         "D:\\Log\\Qervel.mdb|PA3ABC|D:\\Log\\Refdata.mdb|D:\\Log\\adiUpld2Morvask.adi"},
        {"no settings file, only a copy of it: paths on the root", "Qvl2007.ini.bak", "[Dir]\nPGMPATH=D:\\Log\n", none},
        {"PGMPATH without one", "Qvl2007.ini", "[Dir]\nPGMPATH=D:\\Log\n",
         "||D:\\Log\\Refdata.mdb|D:\\Log\\adiUpld2Morvask.adi"},
        {"two trailing backslashes lose only one", "Qvl2007.ini", "[Dir]\nPGMPATH=D:\\Log\\\\\n",
         "||D:\\Log\\\\Refdata.mdb|D:\\Log\\\\adiUpld2Morvask.adi"},
        {"PGMPATH is not trimmed", "Qvl2007.ini", "[Dir]\nPGMPATH=\"D:\\Log \"\n",
         "||D:\\Log \\Refdata.mdb|D:\\Log \\adiUpld2Morvask.adi"},
        {"DATAPATH keeps its trailing backslash", "Qvl2007.ini", "[Dir]\nDATAPATH=C:\\Qervel\\\n",
         "C:\\Qervel\\|" + none.substr(1)},
        {"trailing white space goes, leading stays", "Qvl2007.ini",
         "[Dir]\nDATAPATH=\"  C:\\Q.mdb \t\"\n[Gen]\nOPRCALL='PA3ABC \t'\n", "  C:\\Q.mdb|PA3ABC" + none.substr(1)},
        {"keys of the wrong section are not taken", "Qvl2007.ini",
         "[Gen]\nDATAPATH=C:\\x.mdb\nPGMPATH=C:\\x\n[Dir]\nOPRCALL=X\n", none},
        {"file name in any letter case", "QVL2007.INI", "[Gen]\nOPRCALL=PA3ABC\n", "|PA3ABC" + none.substr(1)},
    };
    TempPrefix prefix;
    const WinePrefix wine(prefix.Root());
    for (const auto& row : cases) {
        const std::string file = prefix.WriteFile(std::string("drive_c/windows/") + row.fileName, row.contents);
        EXPECT_EQ(ReadAll(wine), row.expected) << row.name;
        std::filesystem::remove(file);
    }
    EXPECT_EQ(ReadAll(WinePrefix("")), none);
}

// A settings file that is there but cannot be read is named with the reason; the values are
// then those of a missing file. A pipe or a device must be refused without being opened: a
// reader that opened the pipe would never come back from this test.
TEST(IniReaders, SaySettingsFileCannotBeReadAndWhy) {
    const std::string none = "||\\Refdata.mdb|\\adiUpld2Morvask.adi";
    const struct {
        const char* name;
        std::function<void(const std::string& path)> make;
        std::string reason;  // empty: nothing to report
    } cases[] = {
        {"a folder", [](const std::string& path) { std::filesystem::create_directory(path); },
         "it is a folder, not a file"},
        {"a named pipe", [](const std::string& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); },
         "it is a named pipe (FIFO), not a regular file"},
        {"a link to a device", [](const std::string& path) { std::filesystem::create_symlink("/dev/zero", path); },
         "it is a device, not a regular file"},
        {"a socket", [](const std::string& path) { TempDir::MakeSocketAt(path); },
         "it is a socket, not a regular file"},
        {"a link to nothing is a missing file, said nothing of",
         [](const std::string& path) { std::filesystem::create_symlink("gone.ini", path); }, ""},
        {"a file without read permission",
         [](const std::string& path) {
             WriteFile(path, "[Dir]\nDATAPATH=C:\\x.mdb\n");
             std::filesystem::permissions(path, std::filesystem::perms::none);
         },
         ::geteuid() == 0 ? "" : "permission denied"},
    };
    for (const auto& row : cases) {
        TempPrefix prefix;
        const std::string path = prefix.Root() + "/drive_c/windows/Qvl2007.ini";
        row.make(path);
        const WinePrefix wine(prefix.Root());
        const std::string problem = SettingsFileProblem(wine);
        if (row.reason.empty()) {
            EXPECT_EQ(problem, "") << row.name;
        } else {
            EXPECT_NE(problem.find("\"" + path + "\" cannot be read: " + row.reason), std::string::npos)
                << row.name << ": " << problem;
            EXPECT_EQ(ReadAll(wine), none) << row.name;
        }
    }
}

}  // namespace
