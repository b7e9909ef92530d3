#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "settings/PathMappingError.h"
#include "settings/WinePrefix.h"
#include "tests/support/TempPrefix.h"

namespace {

// A prefix like an operator's: the logging program on C:, a second drive D: outside the
// prefix, and one network share.
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

struct MapCase {
    const char* name;
    const char* path;
    const char* expectedBelowRoot;  // the host path less the prefix root and "/"
};

class PathMapping : public MappedPrefix, public testing::WithParamInterface<MapCase> {};

TEST_P(PathMapping, OpensTheHostFileWineWouldOpen) {
    const MapCase& c = GetParam();
    EXPECT_EQ(WinePrefix(prefix.Root()).MapToHost(c.path), prefix.Root() + "/" + c.expectedBelowRoot);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, PathMapping,
    testing::Values(
        MapCase{"backslashes", "C:\\Program Files\\Qervel\\Data\\Qervel.mdb", "dosdevices/c:/Program Files/Qervel/Data/Qervel.mdb"},
        MapCase{"forward_slashes", "C:/Program Files/Qervel/Data/Qervel.mdb", "dosdevices/c:/Program Files/Qervel/Data/Qervel.mdb"},
        MapCase{"path_in_other_case_than_disk", "c:\\PROGRAM FILES\\qervel\\data\\QERVEL.MDB", "dosdevices/c:/Program Files/Qervel/Data/Qervel.mdb"},
        MapCase{"disk_in_upper_case_path_in_mixed", "d:\\Log\\refdata.MDB", "dosdevices/d:/LOG/Refdata.mdb"},
        MapCase{"doubled_backslash_from_pgmpath", "D:\\LOG\\\\Refdata.mdb", "dosdevices/d:/LOG/Refdata.mdb"},
        MapCase{"dot_and_dotdot_folded", "C:\\Program Files\\.\\Gone\\..\\Qervel\\Data\\Qervel.mdb", "dosdevices/c:/Program Files/Qervel/Data/Qervel.mdb"},
        MapCase{"dotdot_stops_at_the_drive_root", "C:\\..\\..\\Program Files", "dosdevices/c:/Program Files"},
        MapCase{"missing_part_and_below_kept_as_written", "C:\\program files\\New Dir\\Sub\\x.adi", "dosdevices/c:/Program Files/New Dir/Sub/x.adi"},
        MapCase{"rooted_without_drive_is_on_c", "\\Refdata.mdb", "dosdevices/c:/Refdata.mdb"},
        MapCase{"drive_alone_is_its_root", "C:", "dosdevices/c:"},
        MapCase{"unc_share_in_other_case", "\\\\SERVER\\share\\qervel.mdb", "dosdevices/unc/Server/Share/Qervel.mdb"},
        MapCase{"unc_with_mixed_separators", "\\/server/Share\\Qervel.mdb", "dosdevices/unc/Server/Share/Qervel.mdb"}),
    [](const testing::TestParamInfo<MapCase>& row) { return std::string(row.param.name); });

TEST_F(MappedPrefix, HostAndRelativePathsAreNotTakenForDrives) {
    WinePrefix wine(prefix.Root());
    EXPECT_EQ(wine.MapToHost("/srv/log\\book.mdb"), "/srv/log\\book.mdb");
    EXPECT_EQ(wine.MapToHost("no such dir\\log.mdb"), "no such dir/log.mdb");
    EXPECT_EQ(wine.MapToHost("//srv/logs/book.mdb"), "//srv/logs/book.mdb");
    EXPECT_EQ(wine.MapToHost(""), "");
}

// The output file must be created under exactly the name the operator sees; its directory
// is found the way Wine finds it.
TEST_F(MappedPrefix, OutputKeepsItsFileNameAsWritten) {
    WinePrefix wine(prefix.Root());
    const std::string dir = prefix.Root() + "/dosdevices/c:/Program Files/Qervel/";
    EXPECT_EQ(wine.MapOutputToHost("C:\\PROGRAM FILES\\QERVEL\\ADIUPLD2MORVASK.ADI"), dir + "ADIUPLD2MORVASK.ADI");
    EXPECT_EQ(wine.MapToHost("C:\\PROGRAM FILES\\QERVEL\\ADIUPLD2MORVASK.ADI"), dir + "adiUpld2Morvask.adi");
}

struct FailureCase {
    const char* name;
    const char* path;
    bool withPrefix;
    std::vector<std::string> mustName;  // "<root>" stands for the prefix root
};

class PathMappingFailure : public MappedPrefix, public testing::WithParamInterface<FailureCase> {};

TEST_P(PathMappingFailure, SaysWhichDriveOrShareAndWhichPrefix) {
    const FailureCase& c = GetParam();
    WinePrefix wine(c.withPrefix ? prefix.Root() : "");
    try {
        wine.MapToHost(c.path);
        FAIL() << c.path << " was mapped although it has no place on the host";
    } catch (const PathMappingError& error) {
        std::string text = error.what();
        for (std::string part : c.mustName) {
            if (part == "<root>") part = prefix.Root();
            EXPECT_NE(text.find(part), std::string::npos) << "\"" << part << "\" missing from: " << text;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Failures, PathMappingFailure,
    testing::Values(
        FailureCase{"unmapped_drive", "E:\\Log\\Qervel.mdb", true, {"E:", "<root>", "E:\\Log\\Qervel.mdb"}},
        FailureCase{"unmapped_drive_in_lower_case", "q:/x.mdb", true, {"Q:", "<root>"}},
        FailureCase{"unmapped_share", "\\\\other\\logs\\Qervel.mdb", true, {"\\\\other\\logs", "<root>"}},
        FailureCase{"known_server_unknown_share", "\\\\Server\\nope\\Qervel.mdb", true, {"\\\\Server\\nope", "<root>"}},
        FailureCase{"unc_without_share", "\\\\Server", true, {"\\\\Server"}},
        FailureCase{"drive_without_any_prefix", "C:\\Qervel.mdb", false, {"C:", "WINEPREFIX"}}),
    [](const testing::TestParamInfo<FailureCase>& row) { return std::string(row.param.name); });

// Restores one environment variable when the test ends.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : m_name(name) {
        if (const char* old = std::getenv(name)) m_old = old;
        if (value) setenv(name, value->c_str(), 1);
        else unsetenv(name);
    }
    ~ScopedEnv() {
        if (m_old) setenv(m_name, m_old->c_str(), 1);
        else unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(WinePrefixEnvironment, UsesWineprefixElseDotWineInHome) {
    struct Row {
        std::optional<std::string> wineprefix;
        std::string home;
        std::string expectedRoot;
    };
    const Row rows[] = {
        {"/opt/qervel-prefix/", "/home/op", "/opt/qervel-prefix"},
        {std::nullopt, "/home/op", "/home/op/.wine"},
        {"", "/home/op", "/home/op/.wine"},
    };
    for (const Row& row : rows) {
        ScopedEnv prefix("WINEPREFIX", row.wineprefix);
        ScopedEnv home("HOME", row.home);
        WinePrefix wine = WinePrefix::FromEnvironment();
        EXPECT_EQ(wine.Root(), row.expectedRoot);
        EXPECT_EQ(wine.WindowsDirectory(), row.expectedRoot + "/drive_c/windows");
    }
}

}  // namespace
