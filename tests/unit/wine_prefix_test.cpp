#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "settings/PathMappingError.h"
#include "settings/WinePrefix.h"
#include "tests/support/TempPrefix.h"

namespace {

// A prefix like an operator's: the logging program on C:, a drive D: outside the prefix
// and one network share, with names in other letter case than the paths use.
class MappedPrefix : public testing::Test {
protected:
    void SetUp() override {
        prefix.WriteFile("drive_c/Program Files/Qervel/Data/Qervel.mdb", "");
        prefix.WriteFile("drive_c/Program Files/Qervel/adiUpld2Morvask.adi", "");
        prefix.WriteFile("logs/LOG/Refdata.mdb", "");
        prefix.AddDosDevice("d:", prefix.Root() + "/logs");
        prefix.WriteFile("shares/Server/Share/Qervel.mdb", "");
        prefix.MakeDir("dosdevices/unc");
        prefix.AddDosDevice("unc/Server", prefix.Root() + "/shares/Server");
    }

    TempPrefix prefix;
};

TEST_F(MappedPrefix, OpensTheHostFileWineWouldOpen) {
    const std::string c = prefix.Root() + "/dosdevices/c:/";
    const std::string log = c + "Program Files/Qervel/Data/Qervel.mdb";
    const struct {
        const char* name;
        std::string path;
        std::string expected;
    } cases[] = {
        {"backslashes", "C:\\Program Files\\Qervel\\Data\\Qervel.mdb", log},
        {"forward slashes", "C:/Program Files/Qervel/Data/Qervel.mdb", log},
        {"path in other letter case than the disk", "c:\\PROGRAM FILES\\qervel\\data\\QERVEL.MDB", log},
        {"dot and dotdot folded", "C:\\Program Files\\.\\Gone\\..\\Qervel\\Data\\Qervel.mdb", log},
        {"dotdot stops at the drive root", "C:\\..\\..\\Program Files", c + "Program Files"},
        {"doubled backslash from PGMPATH", "D:\\log\\\\REFDATA.mdb", prefix.Root() + "/dosdevices/d:/LOG/Refdata.mdb"},
        {"missing folder and below kept as written", "C:\\program files\\New Dir\\x.adi", c + "Program Files/New Dir/x.adi"},
        {"rooted without drive lies on C:", "\\Refdata.mdb", c + "Refdata.mdb"},
        {"unc share in other letter case", "\\\\SERVER\\share\\qervel.mdb", prefix.Root() + "/dosdevices/unc/Server/Share/Qervel.mdb"},
        {"host path used as it is", "/srv/log\\book.mdb", "/srv/log\\book.mdb"},
        {"double slash is a host path too", "//srv/logs/book.mdb", "//srv/logs/book.mdb"},
        {"relative path stays relative", "no such dir\\log.mdb", "no such dir/log.mdb"},
    };
    WinePrefix wine(prefix.Root());
    for (const auto& row : cases) {
        EXPECT_EQ(wine.MapToHost(row.path), row.expected) << row.name;
    }
    // The output file is created under exactly the name the operator sees.
    EXPECT_EQ(wine.MapOutputToHost("C:\\PROGRAM FILES\\QERVEL\\ADIUPLD2MORVASK.ADI"),
              c + "Program Files/Qervel/ADIUPLD2MORVASK.ADI");
}

TEST_F(MappedPrefix, UnmappedDriveOrShareNamesItAndThePrefix) {
    const struct {
        std::string path;
        std::string root;
        std::string mustSay;
    } cases[] = {
        {"E:\\Log\\Qervel.mdb", prefix.Root(), "Drive E: of \"E:\\Log\\Qervel.mdb\" is not mapped in the Wine prefix \"" + prefix.Root()},
        {"q:/x.mdb", prefix.Root(), "Drive Q:"},
        {"\\\\Server\\nope\\Qervel.mdb", prefix.Root(), "share \\\\Server\\nope of"},
        {"\\\\Server", prefix.Root(), "names no network share"},
        {"C:\\Qervel.mdb", "", "set WINEPREFIX"},
    };
    for (const auto& row : cases) {
        try {
            WinePrefix(row.root).MapToHost(row.path);
            ADD_FAILURE() << row.path << " was mapped although it has no place on the host";
        } catch (const PathMappingError& error) {
            EXPECT_NE(std::string(error.what()).find(row.mustSay), std::string::npos) << error.what();
        }
    }
}

TEST(WinePrefix, UsesWineprefixElseDotWineInHome) {
    const char* savedPrefix = std::getenv("WINEPREFIX");
    const char* savedHome = std::getenv("HOME");
    const std::string oldPrefix = savedPrefix ? savedPrefix : "", oldHome = savedHome ? savedHome : "";
    setenv("HOME", "/home/op", 1);
    const struct {
        const char* wineprefix;  // nullptr: not set
        const char* expected;
    } cases[] = {{"/opt/qervel-prefix/", "/opt/qervel-prefix/drive_c/windows"},
                 {nullptr, "/home/op/.wine/drive_c/windows"},
                 {"", "/home/op/.wine/drive_c/windows"}};
    for (const auto& row : cases) {
        row.wineprefix ? setenv("WINEPREFIX", row.wineprefix, 1) : unsetenv("WINEPREFIX");
        EXPECT_EQ(WinePrefix::FromEnvironment().WindowsDirectory(), row.expected);
    }
    savedPrefix ? setenv("WINEPREFIX", oldPrefix.c_str(), 1) : unsetenv("WINEPREFIX");
    savedHome ? setenv("HOME", oldHome.c_str(), 1) : unsetenv("HOME");
}

}  // namespace
