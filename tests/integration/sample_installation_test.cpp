#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>

#include "tests/integration/ExporterProcess.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempPrefix.h"

namespace fs = std::filesystem;

namespace {

// morvask-sampledb run on a prefix: its exit code and what it said.
std::pair<int, std::string> Sampledb(const fs::path& prefix, std::vector<std::string> options) {
    options.insert(options.begin(), prefix.string());
    return ExporterProcess::Run(MORVASK_BIN_DIR "/morvask-sampledb", options);
}

TEST(SampleInstallationTest, WritesTheLayoutTheSettingsFileNamesAndTheSameBytesForTheSameSeed) {
    TempDir dir;
    const fs::path prefix = fs::path(dir.Root()) / "Qervel prefix";
    const fs::path other = fs::path(dir.Root()) / "other seed";
    const auto [status, said] = Sampledb(prefix, {"--contacts", "400", "--seed", "3"});
    ASSERT_EQ(status, 0) << said;
    ASSERT_EQ(Sampledb(other, {"--contacts", "400", "--seed", "4"}).first, 0);
    // A Wine prefix of its own, written over with another sample: the earlier sample is
    // replaced and the prefix's other files stay.
    TempPrefix wine;
    const fs::path again = wine.Root();
    wine.WriteFile("drive_c/windows/win.ini", "[windows]\r\n");
    ASSERT_EQ(Sampledb(again, {"--contacts", "90", "--seed", "4"}).first, 0);
    ASSERT_EQ(Sampledb(again, {"--seed", "3", "--contacts", "400"}).first, 0);
    EXPECT_EQ(ReadFile(again / "drive_c/windows/win.ini"), "[windows]\r\n");

    // Laid out as Qervel lays it out: the exporter finds everything from the settings file.
    ExporterProcess run({}, -1, prefix.string());
    EXPECT_EQ(run.Wait(), 0) << run.Stderr();
    EXPECT_EQ(run.Stdout().rfind("Total QSOs: 393\n", 0), 0u) << run.Stdout();
    EXPECT_GT(ReadFile(prefix / "drive_c/Program Files/Qervel/adiUpld2Morvask.adi").size(), 10000u);
    EXPECT_EQ(fs::read_symlink(prefix / "dosdevices" / "c:"), fs::path("../drive_c"));

    const fs::path ini = "drive_c/windows/Qvl2007.ini";
    const fs::path refdata = "drive_c/Program Files/Qervel/Refdata.mdb";
    const fs::path log = "drive_c/Program Files/Qervel/Data/Qervel.mdb";
    const auto digest = [](const fs::path& file) { return std::hash<std::string>{}(ReadFile(file)); };
    for (const auto& file : {ini, refdata, log}) {
        EXPECT_EQ(digest(prefix / file), digest(again / file)) << file << " differs between runs with one seed";
    }
    EXPECT_NE(digest(prefix / log), digest(other / log)) << "the seed does not change the log";
}

// Every file, folder and link below `root`: what a refused run must leave as it was.
std::map<std::string, std::string> Snapshot(const fs::path& root) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const auto name = entry.path().lexically_relative(root).string();
        entries[name] = entry.is_symlink()        ? "link to " + fs::read_symlink(entry.path()).string()
                        : entry.is_regular_file() ? ReadFile(entry.path())
                                                  : "folder";
    }
    return entries;
}

void Put(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

TEST(SampleInstallationTest, NeverWritesOverFilesItDidNotWrite) {
    const fs::path ini = "drive_c/windows/Qvl2007.ini";
    const fs::path log = "drive_c/Program Files/Qervel/Data/Qervel.mdb";
    const std::string sample = std::string(MORVASK_TEST_DATA) + "/sample/";
    const std::string operatorIni = "[Dir]\r\nDATAPATH=D:\\Log\\mine.mdb\r\n";
    const auto ownSample = [](const fs::path& prefix) { ASSERT_EQ(Sampledb(prefix, {"--contacts", "20"}).first, 0); };
    struct Case {
        const char* what;
        std::function<void(const fs::path& prefix, const fs::path& outside)> setUp;
        const char* named;
    };
    const std::vector<Case> cases = {
        {"the settings file of a real installation", [&](auto& p, auto&) { Put(p / ini, operatorIni); },
         "drive_c/windows/Qvl2007.ini"},
        {"a settings file in other letter case, the same file to Wine",
         [&](auto& p, auto&) { Put(p / "drive_c/Windows/QVL2007.INI", operatorIni); }, "drive_c/Windows/QVL2007.INI"},
        {"the prefix list of a real installation",
         [&](auto& p, auto&) { Put(p / "drive_c/Program Files/Qervel/Refdata.mdb", ReadFile(sample + "Refdata.mdb")); },
         "Qervel/Refdata.mdb"},
        {"the log of a real installation", [&](auto& p, auto&) { Put(p / log, ReadFile(sample + "source.mdb")); },
         "Data/Qervel.mdb"},
        {"its own sample after Qervel added contacts to the log",
         [&](auto& p, auto&) {
             ownSample(p);
             std::ofstream(p / log, std::ios::binary | std::ios::app) << "contact";
         },
         "Data/Qervel.mdb"},
        {"its own sample whose settings file became a link to the operator's",
         [&](auto& p, auto& outside) {
             ownSample(p);
             Put(outside / "Qvl2007.ini", operatorIni);
             fs::remove(p / ini);
             fs::create_symlink(outside / "Qvl2007.ini", p / ini);
         },
         "drive_c/windows/Qvl2007.ini"},
        {"a marker of the same name that it did not write",
         [&](auto& p, auto&) { Put(p / "morvask-sample.txt", "notes\n"); }, "morvask-sample.txt"},
        {"drive C: mapped to another folder",
         [&](auto& p, auto& outside) {
             fs::create_directories(p / "dosdevices");
             fs::create_directory_symlink(outside, p / "dosdevices/c:");
         },
         "dosdevices/c:"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const fs::path prefix = fs::path(dir.Root()) / "operator prefix";
        c.setUp(prefix, dir.Root() + "/outside");
        const auto before = Snapshot(dir.Root());
        const auto [status, said] = Sampledb(prefix, {"--contacts", "30", "--seed", "2"});
        EXPECT_EQ(status, 1) << c.what << ": " << said;
        EXPECT_NE(said.find(c.named), std::string::npos) << c.what << ": " << said;
        EXPECT_EQ(Snapshot(dir.Root()), before) << c.what;
    }
}

}  // namespace
