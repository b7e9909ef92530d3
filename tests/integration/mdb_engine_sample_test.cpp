#include <gtest/gtest.h>

#include <random>

#include "data/MdbEngine.h"
#include "data/VersionCheck.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TableRead.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestTables.h"

// The shared sample log: 84 contacts entered, 28 edited so that they moved to other
// pages, 5 deleted (3 of them moved ones); 79 remain, in the order expected.adi shows.
// Damaged and foreign files are derived from it at test time. Each must end in a clear
// error of ours naming the file (or, for harmless damage, in all the rows), never in a
// crash, a hang, rows lost without a word, or anything printed by libmdb.

using namespace std::chrono_literals;

namespace {

const std::string kSampleDir = std::string(MORVASK_TEST_DATA) + "/sample";
const std::string kSource = kSampleDir + "/source.mdb";
using Rows = std::vector<std::vector<std::string>>;
constexpr std::size_t kCall = 2;
constexpr std::size_t kNote = 7;
constexpr std::size_t kValid = 28;
constexpr std::size_t kNumber = 34;
constexpr std::size_t kPage = 4096;
// Pages 28 to 48 hold the sample's QSO table: its definition, then its data pages.
constexpr std::size_t kQsoDefinitionPage = 28;
constexpr std::size_t kLastQsoDataPage = 48;

TableRead ReadQsos(MdbEngine& engine, const std::string& path) {
    std::vector<ColumnRequest> columns;
    for (const auto& column : QsoTableColumns()) columns.push_back({column.name, column.kind, true});
    return TableRead::Of(engine, path, "QSO-TAB", columns);
}

// What reached this process's stdout and stderr since the last StartCapture.
void StartCapture() {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
}
std::string Captured() {
    std::string out = testing::internal::GetCapturedStdout();
    return out + testing::internal::GetCapturedStderr();
}

TEST(MdbEngineSample, ReadsTheLiveContactsWhereAccessShowsThem) {
    MdbEngine engine;
    const TableRead read = ReadQsos(engine, kSource);
    ASSERT_EQ(read.error, "");
    const Rows& rows = read.rows;
    ASSERT_EQ(rows.size(), 79u) << "deleted contacts came back or live ones were lost";
    EXPECT_EQ(rows.front().size(), 41u);
    EXPECT_EQ(rows.front()[kCall], "VU6TY") << "the first contact was edited and moved; it still comes first";

    // The order of the rest shows in the export of the sample, byte for byte.
    // Values as DAO binds them.
    EXPECT_EQ(rows[1][kValid], "-1") << "a long column keeps its sign";
    EXPECT_EQ(rows[1][kNumber], "2");
    // 247 characters stored as UCS-2: Latin-1 and CJK, 647 bytes of UTF-8, read whole.
    EXPECT_EQ(rows[0][kNote], "Karte erhalten, " + Repeated("\xC3\x9C", 60) + " " + Repeated("\xE5\x8F\x97", 170));
    EXPECT_EQ(rows.back()[kNumber], "") << "a NULL long column reads as empty text";

    // Names in any letter case; a column that is not fetched must exist but is not sent.
    auto cursor = engine.OpenTable(kSource, "qso-tab",
                                   {{"QSO-DATE", FieldKind::Text, false}, {"qso-call", FieldKind::Text, true}});
    std::vector<std::string> values;
    ASSERT_TRUE(cursor->Next(values));
    EXPECT_EQ(values, std::vector<std::string>{"VU6TY"});
    const ColumnRequest missing{"QSO-10-10", FieldKind::Text, false};
    EXPECT_NE(TableRead::Of(engine, kSource, "QSO-TAB", {missing}).error.find("[QSO-10-10] does not exist"),
              std::string::npos);
    EXPECT_EQ(engine.ReadFirstValue(kSource, "version"), std::optional<std::string>("6"));
}

std::string Replaced(std::string bytes, std::size_t at, const std::string& with) {
    return bytes.replace(at, with.size(), with);
}

TEST(MdbEngineDamage, ForeignAndDamagedFilesGiveOurOwnClearError) {
    const std::string sample = ReadFile(kSource);
    ASSERT_EQ(sample.size() % kPage, 0u);
    std::mt19937 random(20121);
    std::string noise(16 * kPage, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    // The QSO table definition announces its row count at offset 16 of its page.
    const std::size_t rowCount = kQsoDefinitionPage * kPage + 16;
    struct Case {
        const char* name;
        std::optional<std::string> bytes;  // nullopt: the file is not written
        const char* expected;              // a piece of the error text
        const char* file = "log.mdb";
    };
    const Case cases[] = {
        {"no such file", std::nullopt, "Could not find file"},
        {"a folder", std::nullopt, "is not an Access database", "folder.mdb"},
        {"zero length", "", "is not an Access database"},
        {"a text file", "QSO-DATE,QSO-CALL\n20120101,PA3ABC\n", "is not an Access database"},
        {"random bytes", noise, "is not an Access database"},
        {"unknown format version", Replaced(sample, 0x14, "\x42"), "is not an Access database"},
        {"cut inside a page", sample.substr(0, sample.size() - 100), "is damaged"},
        {"cut before the last QSO page", sample.substr(0, kLastQsoDataPage * kPage), "is damaged"},
        {"QSO table definition zeroed", Replaced(sample, kQsoDefinitionPage * kPage, std::string(kPage, '\0')),
         "is damaged"},
        {"a data page zeroed", Replaced(sample, 33 * kPage, std::string(kPage, '\0')), "is damaged"},
        {"definition announces one row more than the pages hold", Replaced(sample, rowCount, "\x50"),
         "announces 80 rows but 79"},
        {"definition announces one row fewer than the pages hold", Replaced(sample, rowCount, "\x4e"),
         "more rows than the 78"},
    };
    TempDir dir;
    dir.MakeDir("folder.mdb");
    MdbEngine engine(MdbEngine::Limits{5s});
    for (const Case& c : cases) {
        const std::string path = c.bytes ? dir.WriteFile(c.file, *c.bytes) : dir.File(c.file);
        StartCapture();
        const std::string error = ReadQsos(engine, path).error;
        EXPECT_EQ(Captured(), "") << c.name << ": something reached stdout or stderr";
        EXPECT_NE(error.find(c.expected), std::string::npos) << c.name << ": " << error;
        EXPECT_NE(error.find("'" + path + "'"), std::string::npos) << c.name << ": the error does not name the file";
    }
}

TEST(MdbEngineDamage, FlippedBytesEndInAllRowsOrAClearErrorNeverACrashOrHang) {
    const std::string sample = ReadFile(kSource);
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> anyPage(1, sample.size() / kPage - 1);
    const std::size_t qsoPages = kLastQsoDataPage - kQsoDefinitionPage + 1;

    TempDir dir;
    MdbEngine engine(MdbEngine::Limits{3s});
    std::vector<std::string> failures;
    int errors = 0;
    StartCapture();
    for (std::size_t mutant = 0; mutant < 380; ++mutant) {
        // Each page of the QSO table four times over first, then pages chosen at random.
        const std::size_t page = mutant < 4 * qsoPages ? kQsoDefinitionPage + mutant % qsoPages : anyPage(random);
        std::string bytes = sample;
        std::uniform_int_distribution<std::size_t> offset(0, kPage - 1);
        for (std::size_t flips = 1 + random() % 40; flips > 0; --flips)
            bytes[page * kPage + offset(random)] ^= static_cast<char>(0xFF);
        const std::string path = dir.WriteFile("log.mdb", bytes);
        const TableRead read = ReadQsos(engine, path);
        errors += !read.error.empty();
        if (read.error.empty() ? read.rows.size() != 79 : read.error.find(path) == std::string::npos)
            failures.push_back("page " + std::to_string(page) + ": " + std::to_string(read.rows.size()) + " rows, " +
                               read.error);
        (void)CheckMdbVersion(engine, path);
    }
    EXPECT_EQ(Captured(), "") << "libmdb printed something";
    EXPECT_EQ(failures, std::vector<std::string>{});
    EXPECT_GT(errors, 0) << "no mutant was noticed at all";
}

}  // namespace
