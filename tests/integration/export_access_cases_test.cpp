#include <gtest/gtest.h>

#include "tests/integration/ExporterProcess.h"
#include "tools/mdbwriter/DatabaseWriter.h"

namespace {

// A logging database with the contacts given; every third row was edited after it was
// entered, so it moved to another page.
void WriteSource(const std::string& path, const std::vector<TestQso>& contacts) {
    jet::DatabaseWriter db(path);
    db.AddTable("VERSION", {jet::Column::Text("VER")}).AddRow({std::string("6")});
    std::vector<jet::Column> columns;
    for (const MemoryEngine::Column& c : QsoTableColumns())
        columns.push_back(c.kind == FieldKind::Long ? jet::Column::Long(c.name) : jet::Column::Text(c.name));
    jet::TableWriter& table = db.AddTable("QSO-TAB", columns);
    for (std::size_t n = 0; n < contacts.size(); ++n) {
        jet::Row row;
        for (const std::optional<std::string>& text : contacts[n].Row()) {
            jet::Value value;  // empty texts go in as NULL
            if (!text->empty() && columns[row.size()].type == jet::ColumnType::Long) {
                value = std::int64_t{std::stoll(*text)};
            } else if (!text->empty()) {
                value = *text;
            }
            row.push_back(std::move(value));
        }
        jet::Row original = row;
        original[0] = std::string("2000");
        if (n % 3 == 2) {
            table.AddEditedRow(original, row);
        } else {
            table.AddRow(row);
        }
    }
    db.Close();
}

void WriteRefdata(const std::string& path) {
    jet::DatabaseWriter db(path);
    std::vector<jet::Column> columns;
    for (const MemoryEngine::Column& c : PrefixTableColumns())
        columns.push_back(c.kind == FieldKind::Bool ? jet::Column::Bool(c.name) : jet::Column::Text(c.name));
    jet::TableWriter& table = db.AddTable("PREFIX-Pri", columns);
    for (const auto& [prefix, arrlId] : {std::pair{"DL", "230"}, {"\xC3\x84", "999"}, {"DL", "111"}})
        table.AddRow({std::string(prefix), std::string("Land"), jet::Value(), jet::Value(), false, true, false,
                      std::string("14"), std::string("27"), std::string(arrlId), std::string("EU"), std::string("+1")});
    db.Close();
}

// What the Access reader hands over (multibyte text, NULLs, full-length texts, negative
// flags, moved rows) reaches the ADIF file as the in-memory tests promise.
TEST(ExportAccessFiles, ValuesReachTheFileAsTheReaderYieldsThem) {
    TempDir dir;
    TestQso plain, wide, full, nullValid;
    std::tie(wide.call, wide.prefix, wide.mode, wide.submode, wide.freq, wide.award, wide.confirm) =
        std::make_tuple("\xC3\x84\xC3\x96" "1ABC", "\xC3\x84", "6", "PSK<31>", "", "-1", "3");
    std::tie(full.call, full.time, full.band, full.freq) = std::make_tuple(std::string(255, 'K'), "", "24", "7025,5");
    nullValid.valid = "";  // NULL reads as 0: not valid
    WriteSource(dir.File("log.mdb"), {plain, wide, full, nullValid});
    WriteRefdata(dir.File("Refdata.mdb"));

    ExporterProcess run({"--source", dir.File("log.mdb"), "--refdata", dir.File("Refdata.mdb"), "--output",
                         dir.File("out.adi"), "--oprcall", "PA3ABC"});
    ASSERT_EQ(run.Wait(), 0) << run.Stderr();
    EXPECT_EQ(run.Stdout(), "Total QSOs: 4\nValid QSOs: 3\nNot Valid QSOs: 1\nNot Date Range: 0\nNot same OprCall: 0\n");
    const std::string start = "<QSO_DATE:8>20120115\r\n<TIME_ON:4>1200\r\n<OPERATOR:6>PA3ABC\r\n";
    const std::string unconfirmed = "<QSL_RCVD:1>N\r\n<LOTW_QSL_RCVD:1>N\r\n";
    const std::string unsent = "<QSL_SENT:1>N\r\n<LOTW_QSL_SENT:1>N\r\n";
    EXPECT_EQ(ReadFile(dir.File("out.adi")),
              kAdiHeader + "<CALL:6>DL1ABC\r\n" + start + unconfirmed + "<BAND:3>20M\r\n<MODE:2>CW\r\n" + unsent +
                  "<DXCC:3>230\r\n<FREQ:8>14.02550\r\n<EOR>\r\n\r\n"
                  "<CALL:8>\xC3\x84\xC3\x96" "1ABC\r\n" + start + "<QSL_RCVD:1>V\r\n<LOTW_QSL_RCVD:1>V\r\n"
                  "<BAND:3>20M\r\n<MODE:7>PSK<31>\r\n" + unsent + "<DXCC:3>999\r\n<EOR>\r\n\r\n"
                  "<CALL:255>" + std::string(255, 'K') + "\r\n<QSO_DATE:8>20120115\r\n<TIME_ON:0>\r\n"
                  "<OPERATOR:6>PA3ABC\r\n" + unconfirmed + "<BAND:0>\r\n<MODE:2>CW\r\n" + unsent +
                  "<DXCC:3>230\r\n<FREQ:6>7.0255\r\n<EOR>\r\n\r\n");
}

}  // namespace
