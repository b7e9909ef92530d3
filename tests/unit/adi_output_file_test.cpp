#include <gtest/gtest.h>

#include <memory>

#include "data/CMorvaskSet.h"
#include "data/CmorvaskSet2.h"
#include "export/AdiOutputFile.h"
#include "export/CFileException.h"
#include "export/ExportRun.h"
#include "tests/unit/ExportTestSupport.h"
#include "tests/unit/ScratchMount.h"

namespace {

const std::string kEarlier = "an earlier upload file\r\n";

struct OutputFailureTest : ::testing::Test {
    TempDir dir;
    MemoryEngine engine;
    CMorvaskSet prefixes{engine, [] { return std::string("Refdata.mdb"); }};
    CmorvaskSet2 qsos{engine, [] { return std::string("log.mdb"); }};
    ExportRun run{prefixes, qsos};
    RunSettings settings;

    void SetUp() override {
        // Enough contacts for a file of about 400 KB.
        std::vector<std::vector<std::optional<std::string>>> rows;
        for (int i = 0; i < 2000; ++i) {
            TestQso q;
            q.call = "PA" + std::to_string(i);
            rows.push_back(q.Row());
        }
        engine.SetTable("log.mdb", "QSO-TAB", {QsoTableColumns(), rows});
        engine.SetTable("Refdata.mdb", "PREFIX-Pri", {PrefixTableColumns(), {PrefixRow("DL", "230")}});
        settings.m_strOprCall = "PA3ABC";
        settings.m_strStartDate = "19451116";
        settings.m_strEndDate = "20301231";
    }

    // Runs, expects a file error naming the output path, and checks that nothing but the
    // earlier file is left in its folder.
    void ExpectFailureKeepsEarlierFile(const std::string& folder) {
        settings.m_strAdiPath = folder + "/adiUpld2Morvask.adi";
        try {
            run.Run(settings);
            ADD_FAILURE() << "the run reported success";
        } catch (const CFileException& e) {
            EXPECT_EQ(e.Path(), settings.m_strAdiPath);
            EXPECT_NE(std::string(e.what()).find(settings.m_strAdiPath), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(e.Reason()), std::string::npos) << e.what();
        }
        EXPECT_FALSE(qsos.IsOpen());
        EXPECT_FALSE(prefixes.IsOpen());
        EXPECT_EQ(ReadFile(settings.m_strAdiPath), kEarlier);
        std::vector<std::string> left;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) left.push_back(entry.path().filename());
        EXPECT_EQ(left, std::vector<std::string>{"adiUpld2Morvask.adi"});
    }
};

TEST_F(OutputFailureTest, FullDiskStopsTheRunAndTheNextRunSucceeds) {
    ScratchMount disk(dir.Path(), "size=64k");
    std::unique_ptr<FileSizeLimit> limit;
    WriteFile(dir.File("adiUpld2Morvask.adi"), kEarlier);
    if (!disk.Available()) limit = std::make_unique<FileSizeLimit>(64 * 1024);

    ExpectFailureKeepsEarlierFile(dir.Path());
    EXPECT_GT(run.Counters().Count(ExportCounters::Valid), 0) << "the counters keep the values reached";
    EXPECT_LT(run.Counters().Count(ExportCounters::Total), 2000);

    if (disk.Available()) {
        ASSERT_TRUE(disk.Remount("size=4m"));
    } else {
        limit.reset();
    }
    run.Run(settings);
    EXPECT_EQ(run.Counters().Count(ExportCounters::Valid), 2000);
    EXPECT_EQ(ReadFile(settings.m_strAdiPath).substr(0, kAdiHeader.size()), kAdiHeader);
}

TEST_F(OutputFailureTest, ReadOnlyFolderIsReportedAndLeftAlone) {
    ScratchMount disk(dir.Path(), "size=1m");
    WriteFile(dir.File("adiUpld2Morvask.adi"), kEarlier);
    if (disk.Available()) {
        ASSERT_TRUE(disk.Remount("", MS_RDONLY));
    } else {
        if (geteuid() == 0) GTEST_SKIP() << "root without the right to mount writes anywhere";
        std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    }
    ExpectFailureKeepsEarlierFile(dir.Path());
    EXPECT_EQ(run.Counters().Text(ExportCounters::Total), "0");
}

TEST_F(OutputFailureTest, OutputPathThatIsAFolderFailsAtTheEnd) {
    std::filesystem::create_directory(dir.File("adiUpld2Morvask.adi"));
    settings.m_strAdiPath = dir.File("adiUpld2Morvask.adi");
    EXPECT_THROW(run.Run(settings), CFileException);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"adiUpld2Morvask.adi"}) << "no temporary file left";
}

TEST(AdiOutputFile, UnfinishedFileIsRemovedOnRequestAndOnDestruction) {
    TempDir dir;
    std::string temp;
    {
        AdiOutputFile file(dir.File("out.adi"));
        file.Write("line\r\n");
        temp = file.TempPath();
        EXPECT_TRUE(std::filesystem::exists(temp));
        AdiOutputFile::RemoveUnfinished();  // what the stop signal's handler does
        EXPECT_FALSE(std::filesystem::exists(temp));
        WriteFile(temp, "x");
    }
    EXPECT_TRUE(dir.Entries().empty());
}

TEST(AdiOutputFile, CommitReplacesTheFileWithTheBytesWritten) {
    TempDir dir;
    WriteFile(dir.File("out.adi"), "old contents that are longer than the new");
    AdiOutputFile file(dir.File("out.adi"));
    std::string big(200000, 'x');
    file.Write("a\r\n");
    file.Write(big);
    EXPECT_EQ(ReadFile(dir.File("out.adi")).substr(0, 3), "old") << "nothing changes before the commit";
    file.Commit();
    EXPECT_EQ(ReadFile(dir.File("out.adi")), "a\r\n" + big);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"out.adi"});
}

}  // namespace
