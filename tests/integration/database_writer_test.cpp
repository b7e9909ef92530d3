#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "data/MdbEngine.h"
#include "tests/integration/ExporterProcess.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TableRead.h"
#include "tests/support/TempDir.h"
#include "tools/mdbwriter/DatabaseWriter.h"
#include "tools/mdbwriter/WriteError.h"

// Files written here must read back through libmdb's own tools exactly as written, and their
// deleted and moved rows must sit on the pages as in the shared sample log.

namespace {

using jet::Column;
using jet::RowMark;
using jet::Value;
using Rows = std::vector<std::vector<std::string>>;

std::string Export(const std::string& file, const std::string& table) {
    return ExporterProcess::Run("mdb-export", {file, table}).second;
}

struct ValueCase {
    const char* what;
    Column column;
    Value value;
    std::string cell = {};  // as mdb-export prints a number; text comes back quoted
    std::string dao = {};   // as our reader binds a number to text, where that differs
};

// Every value as libmdb's own tools show it and as our reader binds it, DAO's way: NULL as
// empty text, Yes/No as -1/0 to a text or a long member; a long member takes integer
// columns of any width and Yes/No, and nothing else.
TEST(DatabaseWriterTest, EveryValueTableNameAndRowReadsBackThroughMdbToolsAndOurReader) {
    // Characters of the Basic Multilingual Plane only: libmdb converts UCS-2, not UTF-16,
    // so it cannot show a surrogate pair that the writer stores correctly.
    const std::string wide =
        "Gr\xC3\xBC\xC3\x9F"
        "e aus K\xC3\xB6ln \xE2\x80\x93 \xE6\x9D\xB1\xE4\xBA\xAC";
    const std::vector<ValueCase> cases = {
        {"255 two-byte UTF-8 characters", Column::Text("QSO-QTH"), Repeated("\xC3\xA4", 255)},
        {"text beyond one byte per character", Column::Text("My Name"), wide},
        {"text switching between one and two bytes a character", Column::Text("QSO-NAME"),
         std::string("\xC5\x81ukasz")},
        {"text of a column without Unicode compression", Column::Text("Name").Uncompressed(), std::string("PA3ABC")},
        {"NULL text", Column::Text("QSO-SAT"), Value{}},
        {"short memo stays in the row", Column::Memo("Notes"), std::string("short memo")},
        {"compressed memo on one long-value page", Column::Memo("Notes"), std::string(1000, 'p')},
        {"uncompressed memo over 1024 characters", Column::Memo("Notes"), std::string(2000, 'u')},
        {"100 KB memo chained over pages", Column::Memo("Notes"), std::string(100 * 1024, 'm')},
        {"smallest long", Column::Long("QSO-VALID"), std::int64_t{-2147483648LL}, "-2147483648"},
        {"largest long", Column::Long("QSO-AWARD"), std::int64_t{2147483647}, "2147483647"},
        {"NULL long", Column::Long("QSO-NUMBER"), Value{}},
        {"smallest integer", Column::Integer("Count"), std::int64_t{-32768}, "-32768"},
        {"largest byte", Column::Byte("Small"), std::int64_t{255}, "255"},
        {"Yes", Column::Bool("DEL-STATUS"), true, "1", "-1"},
        {"No", Column::Bool("DEL-STATUS"), false, "0"},
        {"negative double", Column::Double("Freq"), -14025.125, "-14025.125"},
    };
    TempDir dir;
    const std::string file = dir.File("values.mdb");
    std::string tables, many = "QSO-NUMBER,QSO-CALL,QSO-NOTE,QSO-VALID\n";
    {
        jet::DatabaseWriter db(file);
        for (std::size_t i = 0; i < cases.size(); ++i) {
            // A text column beside every value: libmdb misreads rows of tables that have
            // only fixed-size columns.
            auto& table = db.AddTable("case-" + std::to_string(i), {Column::Text("Label"), cases[i].column});
            table.AddRow({std::string("row"), cases[i].value});
            tables += "case-" + std::to_string(i) + "\n";
        }
        db.AddTable("Empty List", {Column::Text("PREFIX"), Column::Bool("DEL-STATUS")});
        auto& table = db.AddTable("QSO-TAB", {Column::Long("QSO-NUMBER"), Column::Text("QSO-CALL"),
                                              Column::Memo("QSO-NOTE"), Column::Bool("QSO-VALID")});
        for (int i = 0; i < 5000; ++i) {
            const std::string call = "DL" + std::to_string(i) + "XYZ";
            const std::string note(static_cast<std::size_t>(i % 300), 'n');
            table.AddRow({std::int64_t{i}, call, i % 7 == 0 ? Value{} : Value{note}, i % 3 != 0});
            many += std::to_string(i) + ",\"" + call + "\"," + (i % 7 == 0 || note.empty() ? "" : "\"" + note + "\"") +
                    "," + (i % 3 != 0 ? "1" : "0") + "\n";
        }
        db.Close();
    }
    EXPECT_EQ(ExporterProcess::Run("mdb-tables", {"-1", file}).second, tables + "Empty List\nQSO-TAB\n");
    EXPECT_EQ(Export(file, "Empty List"), "PREFIX,DEL-STATUS\n");
    EXPECT_EQ(Export(file, "QSO-TAB"), many);
    MdbEngine engine;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto& c = cases[i];
        const std::string table = "case-" + std::to_string(i);
        const auto* text = std::get_if<std::string>(&c.value);
        EXPECT_EQ(Export(file, table),
                  "Label," + c.column.name + "\n\"row\"," + (text ? "\"" + *text + "\"" : c.cell) + "\n")
            << c.what;
        const std::string dao = text ? *text : c.dao.empty() ? c.cell : c.dao;
        EXPECT_EQ(TableRead::Of(engine, file, table, {{c.column.name}}).rows, (Rows{{dao}})) << c.what;
        const bool whole = c.column.type == jet::ColumnType::Long || c.column.type == jet::ColumnType::Integer ||
                           c.column.type == jet::ColumnType::Byte || c.column.type == jet::ColumnType::Bool;
        const TableRead asLong = TableRead::Of(engine, file, table, {{c.column.name, FieldKind::Long}});
        EXPECT_EQ(asLong.rows, whole ? Rows{{dao}} : Rows{}) << c.what;
        EXPECT_EQ(asLong.error.find("[" + c.column.name + "]") != std::string::npos, !whole) << c.what;
    }
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(separator, from)) != std::string::npos; from = at + 1) {
        parts.push_back(text.substr(from, at - from));
    }
    parts.push_back(text.substr(from));
    return parts;
}

// Readers that find tables the way Access does refuse a file whose catalog lacks the
// containers, or has a table outside the Tables container.
TEST(DatabaseWriterTest, CatalogHoldsTheContainersAndSystemTablesAccessKeeps) {
    TempDir dir;
    const std::string file = dir.File("catalog.mdb");
    {
        jet::DatabaseWriter db(file);
        db.AddTable("VERSION", {Column::Text("VER")}).AddRow({std::string("6")});
        db.AddTable("QSO-TAB", {Column::Text("QSO-CALL"), Column::Long("QSO-NUMBER")});
        EXPECT_THROW(db.AddTable("msysACEs", {Column::Text("X")}), jet::WriteError) << "a system table's name";
        db.Close();
    }
    const auto [status, catalog] =
        ExporterProcess::Run("mdb-export", {"-Q", "-b", "strip", "-d", "|", file, "MSysObjects"});
    ASSERT_EQ(status, 0) << catalog;
    auto lines = Split(catalog, '\n');
    EXPECT_EQ(lines.front(),
              "Id|ParentId|Name|Type|DateCreate|DateUpdate|Owner|Flags|Database|Connect|ForeignName|RmtInfoShort|"
              "RmtInfoLong|Lv|LvProp|LvModule|LvExtra");
    std::map<std::string, std::vector<std::string>> objects;  // by name: Id, ParentId, Type, Flags
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        const auto cells = Split(lines[i], '|');
        ASSERT_EQ(cells.size(), 17u) << lines[i];
        EXPECT_TRUE(objects.emplace(cells[2], std::vector{cells[0], cells[1], cells[3], cells[7]}).second) << cells[2];
    }
    // A table's id is the page of its definition.
    const std::string bytes = ReadFile(file);
    for (const auto& [name, columns] : {std::pair<std::string, unsigned>{"VERSION", 1}, {"QSO-TAB", 2}}) {
        auto& id = objects[name].at(0);
        const std::size_t definition = std::stoul(id) * 4096;
        ASSERT_LT(definition, bytes.size()) << name;
        EXPECT_EQ(bytes[definition], 2) << name;
        EXPECT_EQ(GetU16(bytes, definition + 45), columns) << name;
        id = "its definition page";
    }
    const std::string root = "251658240", tables = "251658241", databases = "251658242", system = "-2147483648";
    const std::map<std::string, std::vector<std::string>> expected = {
        {"Tables", {tables, root, "3", system}},
        {"Databases", {databases, root, "3", system}},
        {"Relationships", {"251658243", root, "3", system}},
        {"MSysDb", {"268435456", databases, "2", system}},
        {"MSysObjects", {"2", tables, "1", system}},
        {"MSysACEs", {"3", tables, "1", system}},
        {"MSysQueries", {"4", tables, "1", system}},
        {"MSysRelationships", {"5", tables, "1", system}},
        {"VERSION", {"its definition page", tables, "1", "0"}},
        {"QSO-TAB", {"its definition page", tables, "1", "0"}},
    };
    EXPECT_EQ(objects, expected);

    const std::vector<std::pair<std::string, std::string>> systemColumns = {
        {"MSysACEs", "ObjectId,SID,ACM,FInheritable\n"},
        {"MSysQueries", "ObjectId,Attribute,Order,Name1,Name2,Expression,Flag,LvExtra\n"},
        {"MSysRelationships",
         "szRelationship,grbit,ccolumn,icolumn,szObject,szColumn,szReferencedObject,szReferencedColumn\n"},
    };
    for (const auto& [table, header] : systemColumns) {
        EXPECT_EQ(Export(file, table), header) << table;
    }
    EXPECT_NE(ExporterProcess::Run("mdb-prop", {file, "MSysDb"}).second.find("AccessVersion: 08.50"),
              std::string::npos);
}

struct BadCase {
    const char* what;
    std::vector<Column> columns;
    jet::Row row;
    const char* named;      // a name the error must mention
    std::string path = {};  // the temporary file when empty
};

TEST(DatabaseWriterTest, RefusesWhatAccessCouldNotHoldAndNamesTheCulprit) {
    // Eight text columns of 255 euro signs: UCS-2 makes that about 4 KB, more than a row holds.
    const std::string euros = Repeated("\xE2\x82\xAC", 255);
    std::vector<Column> wideColumns;
    for (int i = 0; i < 8; ++i) wideColumns.push_back(Column::Text("X" + std::to_string(i)));
    const std::vector<BadCase> cases = {
        {"text longer than its size", {Column::Text("QSO-CALL", 10)}, {std::string(11, 'x')}, "QSO-CALL"},
        {"row larger than a page", wideColumns, jet::Row(8, euros), "\"T\""},
        {"folder that does not exist", {}, {}, "/nonexistent-folder/x.mdb", "/nonexistent-folder/x.mdb"},
    };
    TempDir dir;
    const std::string file = dir.File("bad.mdb");
    for (const auto& c : cases) {
        try {
            jet::DatabaseWriter db(c.path.empty() ? file : c.path);
            db.AddTable("T", c.columns).AddRow(c.row);
            ADD_FAILURE() << c.what << ": accepted";
        } catch (const jet::WriteError& e) {
            EXPECT_NE(std::string(e.what()).find(c.named), std::string::npos) << c.what << ": " << e.what();
        }
        EXPECT_FALSE(std::filesystem::exists(file)) << c.what << ": an unfinished file was left behind";
    }
}

// As in the sample log: 84 contacts entered, every third edited so that it moved, then five
// deleted, three of them after their move. Our reader must find the live contacts in entry
// order, as it finds the sample's. libmdb 1.0.0 takes the row flags the wrong way round: it
// skips the 0x4000 slots and shows all moved data at the end, deleted or not. Our file
// misread the same way as the sample proves that the flags are the ones Access writes.
TEST(TableWriterMovesTest, DeletedAndMovedRowsLieOnThePagesAsAccessLaysThemOut) {
    TempDir dir;
    const std::string path = dir.File("moved.mdb");
    std::string expected = "QSO-CALL,QSO-NOTE,QSO-NUMBER\n", movedLines;
    std::vector<std::vector<std::string>> live;
    {
        jet::DatabaseWriter db(path);
        auto& table =
            db.AddTable("QSO-TAB", {Column::Text("QSO-CALL"), Column::Text("QSO-NOTE"), Column::Long("QSO-NUMBER")});
        for (int n = 1; n <= 84; ++n) {
            const std::string call = "CALL" + std::to_string(n), note = n % 3 == 0 ? "QSL received" : "";
            const jet::Row entered = {call, Value{}, std::int64_t{n}};
            const bool deleted = n == 10 || n == 20 || n == 30 || n == 60 || n == 81;
            if (!deleted) live.push_back({call, note, std::to_string(n)});
            if (n % 3 == 0) {
                table.AddEditedRow(entered, {call, note, std::int64_t{n}},
                                   deleted ? RowMark::MovedDeleted : RowMark::Moved);
                movedLines += "\"" + call + "\",\"" + note + "\"," + std::to_string(n) + "\n";
            } else {
                table.AddRow(entered, deleted ? RowMark::Deleted : RowMark::Kept);
                expected += deleted ? "" : "\"" + call + "\",," + std::to_string(n) + "\n";
            }
        }
        // A pointer holds the row number in one byte: a page of more than 255 tiny moved rows
        // would leave some of them unreachable.
        auto& tiny = db.AddTable("Tiny", {Column::Text("T"), Column::Integer("N")});
        for (int i = 0; i < 600; ++i) tiny.AddRow({Value{}, std::int64_t{i}}, RowMark::Moved);
        db.Close();
    }
    MdbEngine engine;
    const TableRead read = TableRead::Of(engine, path, "QSO-TAB", {{"QSO-CALL"}, {"QSO-NOTE"}, {"QSO-NUMBER"}});
    EXPECT_EQ(read.error, "");
    EXPECT_EQ(read.rows, live);
    const TableRead tiny = TableRead::Of(engine, path, "Tiny", {{"N"}});
    ASSERT_EQ(tiny.rows.size(), 600u) << tiny.error;
    for (std::size_t i = 0; i < tiny.rows.size(); ++i) EXPECT_EQ(tiny.rows[i].at(0), std::to_string(i));
    EXPECT_EQ(Export(path, "QSO-TAB"), expected + movedLines);
}

}  // namespace
