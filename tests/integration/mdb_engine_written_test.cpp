#include <gtest/gtest.h>

#include <sys/wait.h>

#include <filesystem>
#include <functional>

#include "data/CDaoException.h"
#include "data/CmorvaskSet2.h"
#include "data/MdbEngine.h"
#include "data/VersionCheck.h"
#include "tests/support/MemoryEngine.h"
#include "tools/mdbwriter/DatabaseWriter.h"
#include "tools/sampledb/SampleInstallation.h"

// The reader against databases written for each case: column types, NULLs, long values,
// names in other letter cases, missing tables and columns, deleted and moved rows.

namespace fs = std::filesystem;

namespace {

using jet::Column;
using jet::RowMark;
using jet::Value;

class WrittenDatabase {
public:
    WrittenDatabase() {
        std::string pattern = (fs::temp_directory_path() / "morvask-written-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        m_dir = pattern;
        m_path = (m_dir / "log.mdb").string();
    }
    ~WrittenDatabase() {
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }
    // Writes the file anew; fill adds the tables.
    void Write(const std::function<void(jet::DatabaseWriter&)>& fill) const {
        jet::DatabaseWriter db(m_path);
        fill(db);
        db.Close();
    }
    const std::string& Path() const { return m_path; }

private:
    fs::path m_dir;
    std::string m_path;
};

std::vector<std::vector<std::string>> ReadAll(MdbEngine& engine, const std::string& path, const std::string& table,
                                              const std::vector<ColumnRequest>& columns, long* announced = nullptr) {
    auto cursor = engine.OpenTable(path, table, columns);
    if (announced) *announced = cursor->RowCount();
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> values;
    while (cursor->Next(values)) rows.push_back(values);
    return rows;
}

std::string OpenError(MdbEngine& engine, const std::string& path, const std::string& table,
                      const std::vector<ColumnRequest>& columns) {
    try {
        ReadAll(engine, path, table, columns);
    } catch (const CDaoException& e) {
        return e.what();
    }
    return "";
}

ColumnRequest Text(const char* name) { return {name, FieldKind::Text, true}; }
ColumnRequest Long(const char* name) { return {name, FieldKind::Long, true}; }

std::vector<Column> TypedColumns() {
    return {Column::Text("T"), Column::Memo("M"),     Column::Long("L"),   Column::Integer("I"),
            Column::Byte("B"), Column::Bool("F"),     Column::Double("D")};
}

TEST(MdbEngineWritten, EveryColumnTypeReadsAsDaoBindsIt) {
    WrittenDatabase file;
    file.Write([](jet::DatabaseWriter& db) {
        auto& t = db.AddTable("TYPES", TypedColumns());
        t.AddRow({std::string("PA3ABC"), std::string("note"), std::int64_t{-123456}, std::int64_t{-5},
                  std::int64_t{200}, true, 14.0255});
        t.AddRow({std::string(""), std::string(""), std::int64_t{2147483647}, std::int64_t{32767}, std::int64_t{0},
                  false, -0.5});
        t.AddRow({Value{}, Value{}, Value{}, Value{}, Value{}, false, Value{}});
    });
    MdbEngine engine;
    auto rows = ReadAll(engine, file.Path(), "TYPES",
                        {Text("T"), Text("M"), Text("L"), Text("I"), Text("B"), Text("F"), Text("D")});
    using Row = std::vector<std::string>;
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (Row{"PA3ABC", "note", "-123456", "-5", "200", "-1", "14.0255"}));
    EXPECT_EQ(rows[1], (Row{"", "", "2147483647", "32767", "0", "0", "-0.5"}));
    EXPECT_EQ(rows[2], (Row{"", "", "", "", "", "0", ""})) << "NULL reads as empty text";

    // A long member takes integers of any width and Yes/No.
    auto longs = ReadAll(engine, file.Path(), "TYPES", {Long("L"), Long("I"), Long("B"), Long("F")});
    EXPECT_EQ(longs[0], (Row{"-123456", "-5", "200", "-1"}));

    std::string error = OpenError(engine, file.Path(), "TYPES", {Long("T")});
    EXPECT_NE(error.find("[T]"), std::string::npos) << "a long member on a text column: " << error;
}

TEST(MdbEngineWritten, LongValuesAreReadWholeOrRefused) {
    std::string note;
    while (note.size() < 100 * 1024) note += "Karte erhalten \xC3\x9C\xE5\x8F\x97 ";
    std::string longText;
    for (int i = 0; i < 255; ++i) longText += "\xC3\x9C";  // 255 characters, 510 bytes of UTF-8
    WrittenDatabase file;
    file.Write([&](jet::DatabaseWriter& db) {
        auto& t = db.AddTable("NOTES", {Column::Text("SHORT"), Column::Memo("NOTE")});
        t.AddRow({longText, note});
        t.AddRow({std::string("x"), std::string(300, 'y')});
    });
    MdbEngine engine;
    auto rows = ReadAll(engine, file.Path(), "NOTES", {Text("SHORT"), Text("NOTE")});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0], longText) << "255 characters of more than one byte each";
    EXPECT_EQ(rows[0][1].size(), note.size()) << "a 100 KB memo was cut";
    EXPECT_EQ(rows[0][1], note);
    EXPECT_EQ(rows[1][1], std::string(300, 'y'));

    MdbEngine::Limits small;
    small.valueBytes = 64 * 1024;
    MdbEngine limited(small);
    std::string error = OpenError(limited, file.Path(), "NOTES", {Text("NOTE")});
    EXPECT_NE(error.find("[NOTE]"), std::string::npos) << "a value over the limit must not pass cut: " << error;
    EXPECT_NE(error.find(file.Path()), std::string::npos) << error;
}

TEST(MdbEngineWritten, DeletedRowsStayAwayAndMovedRowsStayInPlace) {
    WrittenDatabase file;
    file.Write([](jet::DatabaseWriter& db) {
        auto& t = db.AddTable("QSO", {Column::Long("N"), Column::Text("CALL")});
        auto row = [](std::int64_t n, const std::string& call) { return jet::Row{n, call}; };
        t.AddRow(row(1, "A1"));
        t.AddEditedRow(row(2, "B2"), row(2, "B2-EDITED-" + std::string(200, 'x')), RowMark::Moved);
        t.AddRow(row(3, "C3"), RowMark::Deleted);
        t.AddRow(row(4, "D4"));
        t.AddEditedRow(row(5, "E5"), row(5, "E5-EDITED-" + std::string(200, 'x')), RowMark::MovedDeleted);
        for (std::int64_t n = 6; n <= 120; ++n) t.AddRow(row(n, "F" + std::to_string(n)), n % 7 ? RowMark::Kept : RowMark::Deleted);
        t.AddEditedRow(row(121, "G"), row(121, "G-EDITED-" + std::string(200, 'z')), RowMark::Moved);
    });
    MdbEngine engine;
    long announced = 0;
    auto rows = ReadAll(engine, file.Path(), "QSO", {Text("N"), Text("CALL")}, &announced);
    std::vector<std::string> numbers;
    for (const auto& r : rows) numbers.push_back(r[0]);
    std::vector<std::string> expected{"1", "2", "4"};
    for (int n = 6; n <= 120; ++n)
        if (n % 7) expected.push_back(std::to_string(n));
    expected.push_back("121");
    EXPECT_EQ(numbers, expected);
    EXPECT_EQ(announced, static_cast<long>(expected.size()));
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(rows[1][1].substr(0, 10), "B2-EDITED-") << "a moved row shows its edited data";
}

TEST(MdbEngineWritten, EmptyTableHasNoRowsAndStandsBeforeStartAndPastEnd) {
    WrittenDatabase file;
    std::vector<Column> columns;
    for (const auto& c : QsoTableColumns())
        columns.push_back(c.kind == FieldKind::Long ? Column::Long(c.name) : Column::Text(c.name));
    file.Write([&](jet::DatabaseWriter& db) { db.AddTable("QSO-TAB", columns); });
    MdbEngine engine;
    CmorvaskSet2 qso(engine, [&] { return file.Path(); });
    qso.Open();
    EXPECT_TRUE(qso.IsEOF());
    EXPECT_TRUE(qso.IsBOF());
    EXPECT_EQ(qso.GetTableRowCount(), 0);
}

// The 41 QSO columns in reverse order, in lower case, with one more of Qervel's own.
std::vector<Column> ShuffledQsoColumns(const std::string& leaveOut = "") {
    std::vector<Column> columns{Column::Text("qso-extra")};
    auto all = QsoTableColumns();
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        if (it->name == leaveOut) continue;
        std::string lower;
        for (char c : it->name) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        columns.push_back(it->kind == FieldKind::Long ? Column::Long(lower) : Column::Text(lower));
    }
    return columns;
}

jet::Row ShuffledQsoRow(const std::vector<Column>& columns, const std::string& call, std::int64_t number) {
    jet::Row row(columns.size());  // NULL everywhere else
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].name == "qso-call") row[i] = call;
        if (columns[i].name == "qso-number") row[i] = number;
        if (columns[i].name == "qso-valid") row[i] = std::int64_t{-1};
    }
    return row;
}

TEST(MdbEngineWritten, QsoRecordsetFindsItsColumnsInAnyOrderAndCase) {
    WrittenDatabase file;
    auto columns = ShuffledQsoColumns();
    file.Write([&](jet::DatabaseWriter& db) {
        auto& t = db.AddTable("qso-tab", columns);
        t.AddRow(ShuffledQsoRow(columns, "PA3ABC", 7));
    });
    MdbEngine engine;
    CmorvaskSet2 qso(engine, [&] { return file.Path(); });
    qso.Open();
    ASSERT_FALSE(qso.IsEOF());
    EXPECT_EQ(qso.m_QSO_CALL, "PA3ABC");
    EXPECT_EQ(qso.m_QSO_NUMBER, 7);
    EXPECT_EQ(qso.m_QSO_VALID, -1);
    EXPECT_EQ(qso.m_QSO_AWARD, 0) << "NULL long";
    EXPECT_EQ(qso.m_QSO_NOTE, "") << "NULL text";
}

TEST(MdbEngineWritten, AMissingColumnThatIsNeverReadStillFailsTheOpen) {
    for (const char* missing : {"QSO-SPEC2", "QSO-CALL", "QSO-SATMODE"}) {
        WrittenDatabase file;
        auto columns = ShuffledQsoColumns(missing);
        file.Write([&](jet::DatabaseWriter& db) { db.AddTable("QSO-TAB", columns); });
        MdbEngine engine;
        CmorvaskSet2 qso(engine, [&] { return file.Path(); });
        qso.SetFetchedColumns({"QSO-CALL"});
        try {
            qso.Open();
            ADD_FAILURE() << missing << " is missing, yet the open succeeded";
        } catch (const CDaoException& e) {
            std::string text = e.what();
            EXPECT_NE(text.find(std::string("[") + missing + "]"), std::string::npos) << text;
            EXPECT_NE(text.find("[QSO-TAB]"), std::string::npos) << text;
            EXPECT_NE(text.find(file.Path()), std::string::npos) << text;
        }
        EXPECT_FALSE(qso.IsOpen());
    }
}

TEST(MdbEngineWritten, SecondOpenSeesRowsAddedSinceTheFirst) {
    WrittenDatabase file;
    auto columns = ShuffledQsoColumns();
    auto write = [&](int rows) {
        file.Write([&](jet::DatabaseWriter& db) {
            auto& t = db.AddTable("QSO-TAB", columns);
            for (int n = 1; n <= rows; ++n) t.AddRow(ShuffledQsoRow(columns, "C" + std::to_string(n), n));
        });
    };
    write(2);
    MdbEngine engine;
    CmorvaskSet2 qso(engine, [&] { return file.Path(); });
    auto count = [&] {
        int n = 0;
        for (qso.Open(); !qso.IsEOF(); qso.MoveNext()) ++n;
        qso.Close();
        return n;
    };
    EXPECT_EQ(count(), 2);
    write(3);
    EXPECT_EQ(count(), 3);
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1) << "a reader was left unreaped";
}

TEST(MdbEngineWritten, VersionIsTheFirstColumnOfTheFirstRowWhateverItsType) {
    struct Case {
        const char* name;
        Column column;
        std::vector<Value> rows;
        bool accepted;
    };
    const Case cases[] = {
        {"a long column of 7", Column::Long("V"), {std::int64_t{7}}, true},
        {"a long column of 5", Column::Long("V"), {std::int64_t{5}}, false},
        {"a double of 6.5 reads as 6", Column::Double("V"), {6.5}, true},
        {"a byte of 12 is compared as a number", Column::Byte("V"), {std::int64_t{12}}, true},
        {"NULL", Column::Text("V"), {Value{}}, false},
        {"no rows", Column::Text("V"), {}, false},
        {"a later 7 does not count", Column::Text("V"), {std::string("5"), std::string("7")}, false},
    };
    MdbEngine engine;
    for (const Case& c : cases) {
        WrittenDatabase file;
        file.Write([&](jet::DatabaseWriter& db) {
            // A second column after the first shows that only ordinal position 0 is read.
            auto& t = db.AddTable("VERSION", {c.column, Column::Text("REMARK")});
            for (const Value& v : c.rows) t.AddRow({v, std::string("99")});
        });
        EXPECT_EQ(CheckMdbVersion(engine, file.Path()), c.accepted) << c.name;
    }
}

TEST(MdbEngineWritten, SampleLogsOfManyPagesReadInEntryOrderWithoutDeletedContacts) {
    // Generated logs spread edits and deletions over many data pages; the logging program
    // numbers contacts as they are entered, so Access order is rising QSO-NUMBER.
    MdbEngine engine;
    for (std::uint64_t seed : {1u, 2u, 3u}) {
        WrittenDatabase dir;
        SampleInstallation::Options options;
        options.contacts = 3000;
        options.seed = seed;
        auto summary = SampleInstallation::Write(fs::path(dir.Path()).parent_path() / "prefix", options);
        long announced = 0;
        auto rows = ReadAll(engine, summary.logFile.string(), "QSO-TAB", {Long("QSO-NUMBER")}, &announced);
        EXPECT_EQ(static_cast<long>(rows.size()), summary.contactsLive) << "seed " << seed;
        EXPECT_EQ(announced, summary.contactsLive) << "seed " << seed;
        long last = 0;
        for (const auto& row : rows) {
            long number = std::stol(row.at(0));
            EXPECT_GT(number, last) << "seed " << seed << ": contact " << number << " is out of its place";
            last = number;
        }
    }
}

}  // namespace
