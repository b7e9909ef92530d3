#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/TempPrefix.h"
#include "tools/mdbwriter/DatabaseWriter.h"
#include "tools/mdbwriter/WriteError.h"

// Files written here must read back through libmdb's own tools exactly as written.

namespace {

using jet::Column;
using jet::Value;

std::string RunCommand(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen((command + " 2>&1").c_str(), "r"), pclose);
    std::string out;
    std::array<char, 65536> buf{};
    std::size_t n = 0;
    while (pipe && (n = std::fread(buf.data(), 1, buf.size(), pipe.get())) > 0) {
        out.append(buf.data(), n);
    }
    return out;
}

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

// The offset of the first byte in which two files differ, or npos when they are equal.
std::size_t FirstDifference(const std::string& a, const std::string& b) {
    const auto mismatch = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return mismatch.first == a.end() && mismatch.second == b.end()
               ? std::string::npos
               : static_cast<std::size_t>(mismatch.first - a.begin());
}

std::string Export(const std::string& file, const std::string& table) {
    return RunCommand("mdb-export " + Quoted(file) + " " + Quoted(table));
}

struct ValueCase {
    const char* what;
    Column column;
    Value value;
    std::string cell;  // as mdb-export prints it
};

std::vector<ValueCase> ValueCases() {
    // Characters of the Basic Multilingual Plane only: libmdb converts UCS-2, not UTF-16,
    // so it cannot show a surrogate pair that the writer stores correctly.
    const std::string wide = "Gr\xC3\xBC\xC3\x9F" "e aus K\xC3\xB6ln \xE2\x80\x93 \xE6\x9D\xB1\xE4\xBA\xAC";
    std::string umlauts;
    for (int i = 0; i < 255; ++i) {
        umlauts += "\xC3\xA4";
    }
    std::string longWide;
    for (int i = 0; i < 5000; ++i) {
        longWide += "\xC3\xA4\xE2\x82\xAC";
    }
    const std::string memo100k(100 * 1024, 'm');
    return {
        {"plain text", Column::Text("QSO-CALL"), std::string("PA3ABC"), "\"PA3ABC\""},
        {"text of 255 characters", Column::Text("QSO-NOTE"), std::string(255, 'x'), "\"" + std::string(255, 'x') + "\""},
        {"255 two-byte UTF-8 characters", Column::Text("QSO-QTH"), umlauts, "\"" + umlauts + "\""},
        {"text beyond one byte per character", Column::Text("QSO-NAME"), wide, "\"" + wide + "\""},
        {"text with a quote", Column::Text("My Column"), std::string("say \"hi\""), "\"say \"\"hi\"\"\""},
        {"NULL text", Column::Text("QSO-SAT"), Value{}, ""},
        {"short memo stays in the row", Column::Memo("Notes"), std::string("short memo"), "\"short memo\""},
        {"memo on one long-value page", Column::Memo("Notes"), std::string(3000, 'p'), "\"" + std::string(3000, 'p') + "\""},
        {"uncompressed memo over 1024 characters", Column::Memo("Notes"), std::string(2000, 'u'),
         "\"" + std::string(2000, 'u') + "\""},
        {"100 KB memo chained over pages", Column::Memo("Notes"), memo100k, "\"" + memo100k + "\""},
        {"long multibyte memo", Column::Memo("Notes"), longWide, "\"" + longWide + "\""},
        {"NULL memo", Column::Memo("Notes"), Value{}, ""},
        {"smallest long", Column::Long("QSO-VALID"), std::int64_t{-2147483648LL}, "-2147483648"},
        {"largest long", Column::Long("QSO-AWARD"), std::int64_t{2147483647}, "2147483647"},
        {"NULL long", Column::Long("QSO-NUMBER"), Value{}, ""},
        {"smallest integer", Column::Integer("Count"), std::int64_t{-32768}, "-32768"},
        {"largest byte", Column::Byte("Small"), std::int64_t{255}, "255"},
        {"Yes", Column::Bool("DEL-STATUS"), true, "1"},
        {"No", Column::Bool("DEL-STATUS"), false, "0"},
        {"double", Column::Double("Freq"), 14025.5, "14025.5"},
        {"negative double", Column::Double("Freq"), -0.125, "-0.125"},
    };
}

TEST(DatabaseWriterTest, EveryValueReadsBackThroughMdbExport) {
    TempPrefix dir;
    const std::string file = dir.Root() + "/values.mdb";
    const auto cases = ValueCases();
    {
        jet::DatabaseWriter db(file);
        for (std::size_t i = 0; i < cases.size(); ++i) {
            // A text column beside every value: libmdb misreads rows of tables that have
            // only fixed-size columns.
            auto& table = db.AddTable("case-" + std::to_string(i), {Column::Text("Label"), cases[i].column});
            table.AddRow({std::string("row"), cases[i].value});
        }
        db.Close();
    }
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto& c = cases[i];
        EXPECT_EQ(Export(file, "case-" + std::to_string(i)), "Label," + c.column.name + "\n\"row\"," + c.cell + "\n")
            << c.what;
    }
}

TEST(DatabaseWriterTest, ListsTablesWithHyphensAndBlanksInOrder) {
    TempPrefix dir;
    const std::string file = dir.Root() + "/names.mdb";
    {
        jet::DatabaseWriter db(file);
        db.AddTable("VERSION", {Column::Text("VER")}).AddRow({std::string("6")});
        db.AddTable("QSO-TAB", {Column::Text("QSO-DATE")});
        db.AddTable("Prefix List 2", {Column::Text("PREFIX"), Column::Bool("DEL-STATUS")});
        db.Close();
    }
    EXPECT_EQ(RunCommand("mdb-tables -1 " + Quoted(file)), "VERSION\nQSO-TAB\nPrefix List 2\n");
    EXPECT_EQ(RunCommand("mdb-tables -S -1 " + Quoted(file)), "MSysObjects\nVERSION\nQSO-TAB\nPrefix List 2\n");
    EXPECT_EQ(Export(file, "QSO-TAB"), "QSO-DATE\n") << "an empty table has only its header";
    EXPECT_EQ(Export(file, "VERSION"), "VER\n\"6\"\n");
}

TEST(DatabaseWriterTest, ManyRowsOverManyPagesKeepTheirOrder) {
    TempPrefix dir;
    const std::string file = dir.Root() + "/many.mdb";
    std::ostringstream expected;
    expected << "QSO-NUMBER,QSO-CALL,QSO-NOTE,QSO-VALID\n";
    {
        jet::DatabaseWriter db(file);
        auto& table = db.AddTable("QSO-TAB", {Column::Long("QSO-NUMBER"), Column::Text("QSO-CALL"),
                                              Column::Memo("QSO-NOTE"), Column::Bool("QSO-VALID")});
        for (int i = 0; i < 5000; ++i) {
            const std::string call = "DL" + std::to_string(i) + "XYZ";
            Value note = i % 7 == 0 ? Value{} : Value{std::string(static_cast<std::size_t>(i % 300), 'n')};
            table.AddRow({std::int64_t{i}, call, note, i % 3 != 0});
            expected << i << ",\"" << call << "\",";
            if (i % 7 != 0 && i % 300 != 0) {
                expected << '"' << std::string(static_cast<std::size_t>(i % 300), 'n') << '"';
            }
            expected << ',' << (i % 3 != 0 ? 1 : 0) << '\n';
        }
        db.Close();
    }
    EXPECT_GT(std::filesystem::file_size(file), 100u * 4096u) << "the rows should span many pages";
    EXPECT_EQ(Export(file, "QSO-TAB"), expected.str());
}

TEST(DatabaseWriterTest, SameInputGivesTheSameBytes) {
    TempPrefix dir;
    auto write = [&](const std::string& name) {
        const std::string file = dir.Root() + "/" + name;
        jet::DatabaseWriter db(file);
        auto& t = db.AddTable("T", {Column::Text("A"), Column::Memo("B")});
        for (int i = 0; i < 300; ++i) {
            t.AddRow({std::to_string(i), std::string(static_cast<std::size_t>(i * 20), 'b')},
                     i % 50 == 1 ? jet::RowMark::Moved : jet::RowMark::Kept);
        }
        db.Close();
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const auto first = write("a.mdb");
    EXPECT_EQ(first.size() % 4096, 0u);
    EXPECT_EQ(FirstDifference(first, write("b.mdb")), std::string::npos) << "two writes of the same rows differ";
}

struct BadCase {
    const char* what;
    std::vector<Column> columns;
    jet::Row row;
    const char* named;  // a name the error must mention
};

TEST(DatabaseWriterTest, RefusesWhatAccessCouldNotHoldAndNamesTheCulprit) {
    // Eight text columns of 255 euro signs: UCS-2 makes that about 4 KB, more than a row holds.
    std::vector<Column> wideColumns;
    std::string euros;
    for (int i = 0; i < 255; ++i) {
        euros += "\xE2\x82\xAC";
    }
    for (int i = 0; i < 8; ++i) {
        wideColumns.push_back(Column::Text("X" + std::to_string(i)));
    }
    const std::vector<BadCase> cases = {
        {"text longer than its size", {Column::Text("QSO-CALL", 10)}, {std::string(11, 'x')}, "QSO-CALL"},
        {"number in a text column", {Column::Text("QSO-DATE")}, {std::int64_t{20120101}}, "QSO-DATE"},
        {"long out of range", {Column::Long("QSO-VALID")}, {std::int64_t{1} << 40}, "QSO-VALID"},
        {"byte out of range", {Column::Byte("Small")}, {std::int64_t{256}}, "Small"},
        {"too few values", {Column::Text("A"), Column::Text("B")}, {std::string("a")}, "\"T\""},
        {"row larger than a page", wideColumns, jet::Row(8, euros), "\"T\""},
        {"two columns of one name", {Column::Text("Call"), Column::Text("CALL")}, {Value{}, Value{}}, "CALL"},
        {"text size above 255", {Column::Text("Wide", 256)}, {Value{}}, "Wide"},
    };
    TempPrefix dir;
    const std::string file = dir.Root() + "/bad.mdb";
    for (const auto& c : cases) {
        try {
            jet::DatabaseWriter db(file);
            db.AddTable("T", c.columns).AddRow(c.row);
            ADD_FAILURE() << c.what << ": accepted";
        } catch (const jet::WriteError& e) {
            EXPECT_NE(std::string(e.what()).find(c.named), std::string::npos) << c.what << ": " << e.what();
        }
        EXPECT_FALSE(std::filesystem::exists(file)) << c.what << ": an unfinished file was left behind";
    }
}

TEST(DatabaseWriterTest, UnwritableFolderIsReportedWithItsPath) {
    try {
        jet::DatabaseWriter db("/nonexistent-folder/x.mdb");
        FAIL() << "no error for a missing folder";
    } catch (const jet::WriteError& e) {
        EXPECT_NE(std::string(e.what()).find("/nonexistent-folder/x.mdb"), std::string::npos) << e.what();
    }
}

}  // namespace
