#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "data/CDaoException.h"
#include "data/CMorvaskSet.h"
#include "data/CmorvaskSet2.h"
#include "data/MdbEngine.h"
#include "data/VersionCheck.h"
#include "tests/support/MemoryEngine.h"

// The shared sample log: 84 contacts entered, 28 edited so that they moved to other
// pages, 5 deleted (3 of them moved ones); 79 remain, in the order expected.adi shows.

namespace {

const std::string kSampleDir = std::string(MORVASK_TEST_DATA) + "/sample";
const std::string kSource = kSampleDir + "/source.mdb";
const std::string kRefdata = kSampleDir + "/Refdata.mdb";
constexpr std::size_t kCall = 2;
constexpr std::size_t kNote = 7;
constexpr std::size_t kValid = 28;
constexpr std::size_t kNumber = 34;

std::vector<std::vector<std::string>> ReadAllQsoColumns(MdbEngine& engine, long* announced) {
    std::vector<ColumnRequest> columns;
    for (const auto& column : QsoTableColumns()) columns.push_back({column.name, column.kind, true});
    auto cursor = engine.OpenTable(kSource, "QSO-TAB", columns);
    *announced = cursor->RowCount();
    std::vector<std::vector<std::string>> rows;
    for (std::vector<std::string> values; cursor->Next(values);) rows.push_back(values);
    return rows;
}

std::vector<std::string> ExpectedCalls() {
    std::stringstream text;
    text << std::ifstream(kSampleDir + "/expected.adi", std::ios::binary).rdbuf();
    const std::string adi = text.str();
    std::vector<std::string> calls;
    const std::regex call("<CALL:(\\d+)>");
    for (auto it = std::sregex_iterator(adi.begin(), adi.end(), call); it != std::sregex_iterator(); ++it)
        calls.push_back(adi.substr(static_cast<std::size_t>(it->position(0) + it->length(0)), std::stoul((*it)[1])));
    return calls;
}

TEST(MdbEngineSample, ReadsTheLiveContactsWhereAccessShowsThem) {
    MdbEngine engine;
    long announced = 0;
    const auto rows = ReadAllQsoColumns(engine, &announced);
    ASSERT_EQ(rows.size(), 79u) << "deleted contacts came back or live ones were lost";
    EXPECT_EQ(announced, 79);
    EXPECT_EQ(rows.front().size(), 41u);
    EXPECT_EQ(rows.front()[kCall], "VU6TY") << "the first contact was edited and moved; it still comes first";

    // Every exported contact appears, in the export's order.
    const std::vector<std::string> expected = ExpectedCalls();
    ASSERT_EQ(expected.size(), 62u);
    std::size_t next = 0;
    for (const auto& row : rows)
        if (next < expected.size() && row[kCall] == expected[next]) ++next;
    EXPECT_EQ(next, expected.size()) << "contact " << (next < expected.size() ? expected[next] : "")
                                     << " is out of its place";
    // The logging program numbers contacts as they are entered; edits must not reorder them.
    long last = 0;
    for (const auto& row : rows) {
        if (row[kNumber].empty()) continue;
        EXPECT_GT(std::stol(row[kNumber]), last) << "contact " << row[kCall] << " is out of its place";
        last = std::stol(row[kNumber]);
    }

    // Values as DAO binds them.
    EXPECT_EQ(rows[1][kCall], "YV0RU");
    EXPECT_EQ(rows[1][kValid], "-1") << "a long column keeps its sign";
    EXPECT_EQ(rows[1][kNumber], "2");
    EXPECT_EQ(rows[0][kNote].rfind("Karte erhalten, \xC3\x9C", 0), 0u) << "text arrives as UTF-8";
    EXPECT_GT(rows[0][kNote].size(), 255u) << "a long note is read whole";
    EXPECT_EQ(rows.back()[kNumber], "") << "a NULL long column reads as empty text";
}

TEST(MdbEngineSample, OnlyFetchedColumnsAreSentButAllMustExist) {
    MdbEngine engine;
    auto cursor = engine.OpenTable(kSource, "qso-tab",
                                   {{"QSO-DATE", FieldKind::Text, false}, {"qso-call", FieldKind::Text, true}});
    std::vector<std::string> values;
    ASSERT_TRUE(cursor->Next(values));
    EXPECT_EQ(values, std::vector<std::string>{"VU6TY"});

    for (const auto& [table, column] : {std::pair{"QSO-TAB", "QSO-NOPE"}, std::pair{"QSO-TABLE", "QSO-CALL"}}) {
        try {
            engine.OpenTable(kSource, table, {{column, FieldKind::Text, false}});
            ADD_FAILURE() << table << "." << column << " opened";
        } catch (const CDaoException& e) {
            const std::string text = e.what();
            EXPECT_NE(text.find(std::string("[") + table + "]"), std::string::npos) << text;
            EXPECT_NE(text.find(kSource), std::string::npos) << text;
            if (std::string(table) == "QSO-TAB") {
                EXPECT_NE(text.find("[QSO-NOPE]"), std::string::npos) << text;
            }
        }
    }
}

TEST(MdbEngineSample, VersionIsReadFromTheLogAndRefusedWhereThereIsNone) {
    MdbEngine engine;
    EXPECT_EQ(engine.ReadFirstValue(kSource, "version"), std::optional<std::string>("6"));
    EXPECT_TRUE(CheckMdbVersion(engine, kSource));
    EXPECT_FALSE(CheckMdbVersion(engine, kRefdata)) << "a database without a VERSION table";
}

TEST(MdbEngineSample, RecordsetsWalkBothSampleTables) {
    MdbEngine engine;
    CmorvaskSet2 qso(engine, [] { return kSource; });
    int contacts = 0;
    for (qso.Open(); !qso.IsEOF(); qso.MoveNext()) {
        if (contacts++ == 0) {
            EXPECT_EQ(qso.m_QSO_NUMBER, 1);
        }
    }
    EXPECT_EQ(contacts, 79);

    CMorvaskSet prefixes(engine, [] { return kRefdata; });
    int rows = 0;
    for (prefixes.Open(); !prefixes.IsEOF(); prefixes.MoveNext()) ++rows;
    EXPECT_EQ(rows, 65);
}

}  // namespace
