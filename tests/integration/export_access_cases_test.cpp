#include <gtest/gtest.h>

#include "tests/integration/ExporterProcess.h"
#include "tools/mdbwriter/DatabaseWriter.h"

// The exporter on Access files written for the case at hand: what the reader hands over
// (multibyte text, NULLs, long texts, negative flags, rows that moved) must reach the ADIF
// file as the in-memory tests promise.

namespace {

struct SourceOptions {
    std::string version = "6";
    std::string dropColumn;  // a bound column the table lacks
};

void WriteSource(const std::string& path, const std::vector<TestQso>& contacts, const SourceOptions& options = {}) {
    jet::DatabaseWriter db(path);
    db.AddTable("VERSION", {jet::Column::Text("VER")}).AddRow({options.version});
    std::vector<jet::Column> columns;
    std::vector<std::size_t> kept;
    std::vector<MemoryEngine::Column> layout = QsoTableColumns();
    for (std::size_t i = 0; i < layout.size(); ++i) {
        if (layout[i].name == options.dropColumn) continue;
        kept.push_back(i);
        columns.push_back(layout[i].kind == FieldKind::Long ? jet::Column::Long(layout[i].name)
                                                            : jet::Column::Text(layout[i].name));
    }
    jet::TableWriter& table = db.AddTable("QSO-TAB", columns);
    for (std::size_t n = 0; n < contacts.size(); ++n) {
        std::vector<std::optional<std::string>> values = contacts[n].Row();
        jet::Row row;
        for (std::size_t i : kept) {
            const std::string& text = *values[i];
            jet::Value value;
            if (!text.empty() && layout[i].kind == FieldKind::Long) {
                value = std::int64_t{std::stoll(text)};
            } else if (!text.empty()) {
                value = text;
            }
            row.push_back(std::move(value));
        }
        // Every third contact was edited after it was entered, so its row moved.
        if (n % 3 == 2) {
            jet::Row original = row;
            original[0] = std::string("2000");
            table.AddEditedRow(original, row);
        } else {
            table.AddRow(row);
        }
    }
    db.Close();
}

void WriteRefdata(const std::string& path, const std::vector<std::pair<std::string, std::string>>& prefixes) {
    jet::DatabaseWriter db(path);
    std::vector<jet::Column> columns;
    for (const MemoryEngine::Column& c : PrefixTableColumns())
        columns.push_back(c.kind == FieldKind::Bool ? jet::Column::Bool(c.name) : jet::Column::Text(c.name));
    jet::TableWriter& table = db.AddTable("PREFIX-Pri", columns);
    for (const auto& [prefix, arrlId] : prefixes)
        table.AddRow({prefix, std::string("Land"), jet::Value(), jet::Value(), false, true, false, std::string("14"),
                      std::string("27"), arrlId, std::string("EU"), std::string("+1")});
    db.Close();
}

struct AccessCasesTest : ::testing::Test {
    TempDir dir;
    std::string source = dir.File("log.mdb"), refdata = dir.File("Refdata.mdb"), output = dir.File("out.adi");

    void SetUp() override { WriteRefdata(refdata, {{"DL", "230"}, {"\xC3\x84", "999"}, {"DL", "111"}}); }

    ExporterProcess Export() {
        return ExporterProcess({"--source", source, "--refdata", refdata, "--output", output, "--oprcall", "PA3ABC"});
    }
};

TEST_F(AccessCasesTest, ValuesReachTheFileAsTheReaderYieldsThem) {
    TestQso plain;
    TestQso wide;
    wide.call = "\xC3\x84\xC3\x96" "1ABC";  // two two-byte characters
    wide.prefix = "\xC3\x84";
    wide.mode = "6";
    wide.submode = "PSK<31>";
    wide.freq = "";
    wide.award = "-1";
    wide.confirm = "3";
    TestQso odd;
    odd.call = std::string(255, 'K');  // the longest the column holds
    odd.date = "2012";
    odd.time = "";
    odd.band = "24";
    odd.freq = "7025,5";
    odd.valid = "";  // NULL reads as 0: not valid
    TestQso nullValid = odd;
    nullValid.valid = "1";
    nullValid.date = "20120115";
    WriteSource(source, {plain, wide, odd, nullValid});

    ExporterProcess run = Export();
    ASSERT_EQ(run.Wait(), 0) << run.Stderr();
    EXPECT_EQ(run.Stdout(), "Total QSOs: 4\nValid QSOs: 3\nNot Valid QSOs: 1\nNot Date Range: 0\nNot same OprCall: 0\n");
    const std::string common = "<OPERATOR:6>PA3ABC\r\n";
    EXPECT_EQ(ReadFile(output),
              kAdiHeader +
                  "<CALL:6>DL1ABC\r\n<QSO_DATE:8>20120115\r\n<TIME_ON:4>1200\r\n" + common +
                  "<QSL_RCVD:1>N\r\n<LOTW_QSL_RCVD:1>N\r\n<BAND:3>20M\r\n<MODE:2>CW\r\n<QSL_SENT:1>N\r\n"
                  "<LOTW_QSL_SENT:1>N\r\n<DXCC:3>230\r\n<FREQ:8>14.02550\r\n<EOR>\r\n\r\n"
                  "<CALL:8>\xC3\x84\xC3\x96" "1ABC\r\n<QSO_DATE:8>20120115\r\n<TIME_ON:4>1200\r\n" + common +
                  "<QSL_RCVD:1>V\r\n<LOTW_QSL_RCVD:1>V\r\n<BAND:3>20M\r\n<MODE:7>PSK<31>\r\n<QSL_SENT:1>N\r\n"
                  "<LOTW_QSL_SENT:1>N\r\n<DXCC:3>999\r\n<EOR>\r\n\r\n"
                  "<CALL:255>" + std::string(255, 'K') + "\r\n<QSO_DATE:8>20120115\r\n<TIME_ON:0>\r\n" + common +
                  "<QSL_RCVD:1>N\r\n<LOTW_QSL_RCVD:1>N\r\n<BAND:0>\r\n<MODE:2>CW\r\n<QSL_SENT:1>N\r\n"
                  "<LOTW_QSL_SENT:1>N\r\n<DXCC:3>230\r\n<FREQ:6>7.0255\r\n<EOR>\r\n\r\n");
}

TEST_F(AccessCasesTest, BrokenTablesFailNamingWhatIsMissingAndTheNextRunSucceeds) {
    struct Case {
        const char* name;
        std::function<void(AccessCasesTest&)> breakIt;
        std::string mentions;
    };
    const std::vector<Case> cases = {
        {"QSO table without a column that is never read",
         [](AccessCasesTest& t) { WriteSource(t.source, {TestQso()}, {"6", "QSO-SATMODE"}); }, "QSO-SATMODE"},
        {"reference database without the prefix table",
         [](AccessCasesTest& t) {
             jet::DatabaseWriter db(t.refdata);
             db.AddTable("COUNTRY", {jet::Column::Text("NAME")});
             db.Close();
         },
         "PREFIX-Pri"},
        {"logging database of version 5", [](AccessCasesTest& t) { WriteSource(t.source, {TestQso()}, {"5", ""}); },
         "Qervel - mdb file version error"},
        {"reference database missing", [](AccessCasesTest& t) { std::filesystem::remove(t.refdata); },
         "Refdata.mdb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteSource(source, {TestQso()});
        WriteRefdata(refdata, {{"DL", "230"}});
        WriteFile(output, "earlier\r\n");
        c.breakIt(*this);
        ExporterProcess failed = Export();
        EXPECT_EQ(failed.Wait(), 1);
        EXPECT_NE(failed.Stderr().find(c.mentions), std::string::npos) << failed.Stderr();
        EXPECT_EQ(failed.Stdout(), "");
        EXPECT_EQ(ReadFile(output), "earlier\r\n");

        WriteSource(source, {TestQso()});
        WriteRefdata(refdata, {{"DL", "230"}});
        ExporterProcess next = Export();
        EXPECT_EQ(next.Wait(), 0) << next.Stderr();
        EXPECT_NE(ReadFile(output).find("<DXCC:3>230\r\n"), std::string::npos);
    }
}

}  // namespace
