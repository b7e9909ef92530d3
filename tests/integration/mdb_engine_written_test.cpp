#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <functional>

#include "data/CDaoException.h"
#include "data/CmorvaskSet2.h"
#include "data/MdbEngine.h"
#include "data/MdbMessages.h"
#include "data/VersionCheck.h"
#include "tests/support/TableRead.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestTables.h"
#include "tools/mdbwriter/DatabaseWriter.h"
#include "tools/sampledb/SampleInstallation.h"

// The reader against databases written for each case: column types, NULLs, long values,
// names in other letter cases, rows added between opens, the version check, and generated
// logs whose edited and deleted contacts are spread over many pages.

namespace {

using namespace std::string_literals;
using jet::Column;
using jet::Value;
using Rows = std::vector<std::vector<std::string>>;

struct MdbEngineWritten : ::testing::Test {
    TempDir dir;
    const std::string path = dir.File("log.mdb");
    MdbEngine engine;

    // Writes the file anew; fill adds the tables.
    void Write(const std::function<void(jet::DatabaseWriter&)>& fill) {
        jet::DatabaseWriter db(path);
        fill(db);
        db.Close();
    }
    // All rows of table, or the error text as the only value of the only row.
    Rows Read(const std::string& table, const std::string& columns, FieldKind kind = FieldKind::Text) {
        std::vector<ColumnRequest> requests;
        for (char name : columns) requests.push_back({std::string(1, name), kind, true});
        const TableRead read = TableRead::Of(engine, path, table, requests);
        return read.error.empty() ? read.rows : Rows{{read.error}};
    }
};

// The recordset over the reader: columns found in any order and letter case beside others,
// every Open reading the file as it is then, MoveFirst after the end reading it again.
TEST_F(MdbEngineWritten, QsoRecordsetFindsColumnsInAnyOrderAndCaseAndSeesRowsAddedSinceTheLastOpen) {
    // The 41 QSO columns in reverse order, in lower case, after one more of Qervel's own.
    std::vector<Column> columns{Column::Text("qso-extra")};
    const auto all = QsoTableColumns();
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        std::string lower;
        for (char c : it->name) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        columns.push_back(it->kind == FieldKind::Long ? Column::Long(lower) : Column::Text(lower));
    }
    auto write = [&](int rows) {
        Write([&](jet::DatabaseWriter& db) {
            auto& t = db.AddTable("qso-tab", columns);
            for (int n = 1; n <= rows; ++n) {
                jet::Row row(columns.size());  // NULL everywhere else
                for (std::size_t i = 0; i < columns.size(); ++i) {
                    if (columns[i].name == "qso-call") row[i] = "C" + std::to_string(n);
                    if (columns[i].name == "qso-number") row[i] = std::int64_t{n};
                    if (columns[i].name == "qso-valid") row[i] = std::int64_t{-1};
                }
                t.AddRow(row);
            }
        });
    };
    CmorvaskSet2 qso(engine, [&] { return path; });
    write(0);
    qso.Open();
    EXPECT_TRUE(qso.IsEOF() && qso.IsBOF()) << "an empty table stands before its start and past its end";
    qso.Close();
    write(3);
    std::vector<std::string> seen;
    for (qso.Open(); !qso.IsEOF(); qso.MoveNext()) {
        seen.push_back(qso.m_QSO_CALL + "/" + std::to_string(qso.m_QSO_NUMBER) + "/" + std::to_string(qso.m_QSO_VALID) +
                       "/" + std::to_string(qso.m_QSO_AWARD) + "/" + qso.m_QSO_NOTE);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"C1/1/-1/0/", "C2/2/-1/0/", "C3/3/-1/0/"}));
    EXPECT_FALSE(qso.IsBOF());
    qso.MoveFirst();  // past the end: the table is read again from its first row
    EXPECT_EQ(qso.m_QSO_CALL, "C1");
    EXPECT_FALSE(qso.IsEOF());
    qso.Close();
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1) << "a reader was left unreaped";
}

// Accepted or not, and for a refusal what its second line names as found.
TEST_F(MdbEngineWritten, VersionIsTheFirstColumnOfTheFirstRowReadAsAtoiDoes) {
    struct Case {
        const char* name;
        std::vector<Value> firstColumn;  // one cell per row, in table order
        bool accepted;
        std::string found = "";
        Column column = Column::Text("V");
        const char* table = "VERSION";
    };
    const std::string noValue = "no version value in its table [VERSION]";
    const Case cases[] = {
        {"6 is the oldest accepted", {"6"s}, true},
        {"10 compares as a number, not as text", {"10"s}, true},
        {"5 is too old", {"5"s}, false, "version \"5\""},
        {"5.9 is still 5", {"5.9"s}, false, "version \"5.9\""},
        {"tab, newline and blank before 7 are skipped", {"\t\n 7"s}, true},
        {"explicit plus sign", {"+6"s}, true},
        {"minus 8 is below 6", {"-8"s}, false, "version \"-8\""},
        {"a sign must touch its digits", {"- 8"s}, false, "version \"- 8\""},
        {"a letter first gives 0", {"A7"s}, false, "version \"A7\""},
        {"empty text gives 0", {""s}, false, "version \"\""},
        {"digits after the number are ignored", {"7b"s}, true},
        {"a number too large for long is still large", {"99999999999999999999"s}, true},
        {"a value long enough to bury the message is cut",
         {"5" + std::string(199, 'x')},
         false,
         "version \"5" + std::string(39, 'x') + "...\""},
        {"only the first row counts", {"5"s, "7"s}, false, "version \"5\""},
        {"NULL is refused", {Value{}}, false, noValue},
        {"no rows is refused", {}, false, noValue},
        {"no VERSION table is a refusal, not an error",
         {"7"s},
         false,
         "no table [VERSION]",
         Column::Text("V"),
         "VERSIONS"},
        {"a long column of 7", {std::int64_t{7}}, true, "", Column::Long("V")},
        {"a long column of 5", {std::int64_t{5}}, false, "version \"5\"", Column::Long("V")},
        {"a double of 6.5 reads as 6", {6.5}, true, "", Column::Double("V")},
    };
    for (const Case& c : cases) {
        Write([&](jet::DatabaseWriter& db) {
            // A second column after the first shows that only ordinal position 0 is read.
            auto& t = db.AddTable(c.table, {c.column, Column::Text("REMARK")});
            for (const Value& v : c.firstColumn) t.AddRow({v, "99"s});
        });
        EXPECT_EQ(CheckMdbVersion(engine, path), c.accepted) << c.name;
        if (!c.accepted) {
            EXPECT_EQ(ReadMdbVersion(engine, path).found, c.found) << c.name;
        }
    }
    EXPECT_FALSE(CheckMdbVersion(engine, dir.File("elsewhere.mdb"))) << "a file that cannot be read is a refusal";

    // A table that cannot be read is named with the reason; a reader stopped from outside is
    // no refusal at all, since nothing is then known about the file.
    struct FailingEngine : MdbEngine {
        explicit FailingEngine(CDaoException thrown) : error(std::move(thrown)) {}
        std::optional<std::string> ReadFirstValue(const std::string&, const std::string&) override { throw error; }
        CDaoException error;
    };
    FailingEngine damaged(MdbMessages::Damaged(path, "data page 7 is listed twice"));
    EXPECT_EQ(ReadMdbVersion(damaged, path).found,
              "a table [VERSION] that cannot be read (data page 7 is listed twice)");
    FailingEngine interrupted(MdbMessages::Interrupted(path, SIGKILL));
    EXPECT_THROW(ReadMdbVersion(interrupted, path), CDaoException);
}

TEST_F(MdbEngineWritten, GeneratedLogsOfManyPagesReadInEntryOrderWithoutDeletedContacts) {
    // The logging program numbers contacts as they are entered, so Access order is rising
    // QSO-NUMBER; edited contacts moved to later pages, some of them were deleted after.
    for (std::uint64_t seed : {1u, 2u, 3u}) {
        SampleInstallation::Options options;
        options.contacts = 3000;
        options.seed = seed;
        const auto summary = SampleInstallation::Write(dir.File(std::to_string(seed)), options);
        auto cursor = engine.OpenTable(summary.logFile.string(), "QSO-TAB", {{"QSO-NUMBER", FieldKind::Long, true}});
        EXPECT_EQ(cursor->RowCount(), summary.contactsLive) << "seed " << seed;
        EXPECT_LT(summary.contactsLive, summary.contactsWritten) << "seed " << seed << ": no contact was deleted";
        long rows = 0;
        long last = 0;
        for (std::vector<std::string> values; cursor->Next(values); ++rows) {
            EXPECT_GT(std::stol(values.at(0)), last) << "seed " << seed << ": contact " << values[0] << " out of place";
            last = std::stol(values[0]);
        }
        EXPECT_EQ(rows, summary.contactsLive) << "seed " << seed;
    }
}

}  // namespace
