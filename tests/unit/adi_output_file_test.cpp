#include <gtest/gtest.h>

#include "data/CMorvaskSet.h"
#include "data/CmorvaskSet2.h"
#include "export/CFileException.h"
#include "export/ExportRun.h"
#include "tests/unit/ExportTestSupport.h"
#include "tests/unit/ScratchMount.h"

namespace {

const std::string kEarlier = "an earlier upload file\r\n";

// A full disk or a read-only folder stops the run with an error naming the file and the
// system's reason; the earlier file stays, no temporary file is left, the recordsets are
// closed and the next run starts cleanly.
struct OutputFailureTest : ::testing::Test {
    TempDir dir;
    MemoryEngine engine;
    CMorvaskSet prefixes{engine, [] { return std::string("Refdata.mdb"); }};
    CmorvaskSet2 qsos{engine, [] { return std::string("log.mdb"); }};
    ExportRun run{prefixes, qsos};
    RunSettings settings{"", "", dir.File("adiUpld2Morvask.adi"), "PA3ABC", "19451116", "20301231"};

    void SetUp() override {
        std::vector<std::vector<std::optional<std::string>>> rows(2000, TestQso().Row());  // about 400 KB
        engine.SetTable("log.mdb", "QSO-TAB", {QsoTableColumns(), rows});
        engine.SetTable("Refdata.mdb", "PREFIX-Pri", {PrefixTableColumns(), {PrefixRow("DL", "230")}});
        WriteFile(settings.m_strAdiPath, kEarlier);
    }

    void ExpectFailureLeavesEarlierFile() {
        try {
            run.Run(settings);
            ADD_FAILURE() << "the run reported success";
        } catch (const CFileException& e) {
            EXPECT_EQ(e.Path(), settings.m_strAdiPath);
            EXPECT_NE(std::string(e.what()).find(settings.m_strAdiPath + "\": " + e.Reason()), std::string::npos)
                << e.what();
        }
        EXPECT_FALSE(qsos.IsOpen());
        EXPECT_FALSE(prefixes.IsOpen());
        EXPECT_EQ(ReadFile(settings.m_strAdiPath), kEarlier);
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"adiUpld2Morvask.adi"});
    }
};

TEST_F(OutputFailureTest, FullDisk) {
    ScratchMount disk(dir.Path(), "size=64k");
    WriteFile(settings.m_strAdiPath, kEarlier);
    if (!disk.Available()) ScratchMount::LimitFileSize(64 * 1024);

    ExpectFailureLeavesEarlierFile();
    EXPECT_GT(run.Counters().Count(ExportCounters::Valid), 0) << "the counters keep the values reached";

    if (disk.Available()) {
        ASSERT_TRUE(disk.Remount("size=4m"));
    } else {
        ScratchMount::LimitFileSize(RLIM_INFINITY);
    }
    run.Run(settings);
    EXPECT_EQ(run.Counters().Count(ExportCounters::Valid), 2000);
    EXPECT_EQ(ReadFile(settings.m_strAdiPath).substr(0, kAdiHeader.size()), kAdiHeader);
}

TEST_F(OutputFailureTest, ReadOnlyFolder) {
    ScratchMount disk(dir.Path(), "size=1m");
    WriteFile(settings.m_strAdiPath, kEarlier);
    namespace fs = std::filesystem;
    if (disk.Available()) {
        ASSERT_TRUE(disk.Remount("", MS_RDONLY));
    } else if (geteuid() == 0) {
        GTEST_SKIP() << "root without the right to mount writes anywhere";
    } else {
        fs::permissions(dir.Path(), fs::perms::owner_write, fs::perm_options::remove);
    }
    ExpectFailureLeavesEarlierFile();
    EXPECT_EQ(run.Counters().Text(ExportCounters::Total), "0");
    std::error_code ignored;  // lets TempDir clean up after the fallback
    fs::permissions(dir.Path(), fs::perms::owner_write, fs::perm_options::add, ignored);
}

}  // namespace
