#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "settings/PathMappingError.h"
#include "settings/WinePrefix.h"
#include "tests/support/TempPrefix.h"

namespace {

// The host path, or "refused: " and the error text.
std::string Mapped(const WinePrefix& wine, const std::string& path) {
    try {
        return wine.MapToHost(path);
    } catch (const PathMappingError& error) {
        return std::string("refused: ") + error.what();
    }
}

// A prefix like an operator's: the logging program on C:, a drive D: outside the prefix
// and one network share, with names in other letter case than the paths use.
TEST(WinePrefix, OpensTheHostFileWineWouldOpenOrNamesWhatIsNotMapped) {
    TempPrefix prefix;
    prefix.WriteFile("drive_c/Program Files/Qervel/Data/Qervel.mdb", "");
    prefix.WriteFile("drive_c/Program Files/Qervel/adiUpld2Morvask.adi", "");
    prefix.WriteFile("drive_c/Jörg/Log.mdb", "");
    prefix.WriteFile("logs/LOG/Refdata.mdb", "");
    prefix.AddDosDevice("d:", prefix.Root() + "/logs");
    prefix.WriteFile("shares/Server/Share/Qervel.mdb", "");
    prefix.MakeDir("dosdevices/unc");
    prefix.AddDosDevice("unc/Server", prefix.Root() + "/shares/Server");

    const std::string c = prefix.Root() + "/dosdevices/c:/";
    const std::string log = c + "Program Files/Qervel/Data/Qervel.mdb";
    const struct {
        const char* name;
        std::string path;
        std::string expected;  // a host path, or the start of the refusal
        bool noPrefix = false;
    } cases[] = {
        {"forward slashes", "C:/Program Files/Qervel/Data/Qervel.mdb", log},
        {"path in other letter case than the disk", "c:\\PROGRAM FILES\\qervel\\data\\QERVEL.MDB", log},
        {"letters beyond A to Z in other case", "C:\\JÖRG\\log.mdb", c + "Jörg/Log.mdb"},
        {"dot and dotdot folded, never above the root", "C:\\..\\Program Files\\.\\Gone\\..\\Qervel\\Data\\Qervel.mdb",
         log},
        {"doubled backslash from PGMPATH", "D:\\log\\\\REFDATA.mdb", prefix.Root() + "/dosdevices/d:/LOG/Refdata.mdb"},
        {"missing folder and below kept as written", "C:\\program files\\New Dir\\x.adi",
         c + "Program Files/New Dir/x.adi"},
        {"rooted without drive lies on C:", "\\Refdata.mdb", c + "Refdata.mdb"},
        {"unc share in other letter case", "\\\\SERVER\\share\\qervel.mdb",
         prefix.Root() + "/dosdevices/unc/Server/Share/Qervel.mdb"},
        {"host path used as it is", "/srv/log\\book.mdb", "/srv/log\\book.mdb"},
        // Folded as a Windows path, "../x.adi" once became "x.adi": an operator's own file
        // in the current folder was replaced.
        {"relative path climbs with .. as written", "../x.adi", "../x.adi"},
        {"relative path keeps its dots and letter case", "./Data/../QERVEL.MDB", "./Data/../QERVEL.MDB"},
        {"relative path with a backslash is one host name", "Data\\Qervel.mdb", "Data\\Qervel.mdb"},
        {"unmapped drive", "e:\\Log\\Qervel.mdb",
         "refused: Drive E: of \"e:\\Log\\Qervel.mdb\" is not mapped in the Wine prefix \"" + prefix.Root() + "\""},
        {"unmapped share", "\\\\Server\\nope\\Qervel.mdb", "refused: The network share \\\\Server\\nope of"},
        {"server .. would step out of the shares", "\\\\..\\..\\windows\\Qvl2007.ini",
         "refused: The path \"\\\\..\\..\\windows\\Qvl2007.ini\" names no network share"},
        {"share . would be the server's folder", "\\\\Server\\.\\Share\\Qervel.mdb",
         "refused: The path \"\\\\Server\\.\\Share\\Qervel.mdb\" names no network share"},
        {"a NUL, where the host would end the path: here at the log",
         "C:\\Program Files\\Qervel\\Data\\Qervel.mdb" + std::string(1, '\0') + ".adi",
         "refused: The path \"C:\\Program Files\\Qervel\\Data\\Qervel.mdb\\0.adi\" holds a NUL character"},
        {"no prefix at all", "C:\\Qervel.mdb",
         "refused: Drive C: of \"C:\\Qervel.mdb\" cannot be found: there is no Wine prefix", true},
    };
    const WinePrefix wine(prefix.Root());
    for (const auto& row : cases) {
        std::string got = Mapped(row.noPrefix ? WinePrefix("") : wine, row.path);
        // A refusal is compared on its opening words, which name the value and the prefix.
        if (got.starts_with("refused: ")) got.resize(std::min(got.size(), row.expected.size()));
        EXPECT_EQ(got, row.expected) << row.name;
    }
    // The output file is created under exactly the name the operator sees, even where an
    // earlier file differs from it only in letter case.
    EXPECT_EQ(wine.MapOutputToHost("C:\\PROGRAM FILES\\QERVEL\\ADIUPLD2MORVASK.ADI"),
              c + "Program Files/Qervel/ADIUPLD2MORVASK.ADI");
    EXPECT_EQ(wine.MapOutputToHost("../x.adi"), "../x.adi");
}

}  // namespace
