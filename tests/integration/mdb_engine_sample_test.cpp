#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include <sys/wait.h>

#include "data/CDaoException.h"
#include "data/CMorvaskSet.h"
#include "data/CmorvaskSet2.h"
#include "data/MdbEngine.h"
#include "tests/support/MemoryEngine.h"

// The shared sample log: 84 contacts entered, 28 edited so that they moved to other
// pages, 5 deleted (3 of them moved ones); 79 remain, in the order expected.adi shows.

namespace {

const std::string kSampleDir = std::string(MORVASK_TEST_DATA) + "/sample";
const std::string kSource = kSampleDir + "/source.mdb";
const std::string kRefdata = kSampleDir + "/Refdata.mdb";

std::vector<ColumnRequest> AllQsoColumns() {
    std::vector<ColumnRequest> columns;
    for (const auto& column : QsoTableColumns()) columns.push_back({column.name, column.kind, true});
    return columns;
}

std::vector<std::vector<std::string>> ReadAll(RowCursor& cursor) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> values;
    while (cursor.Next(values)) rows.push_back(values);
    return rows;
}

std::vector<std::string> ExpectedCalls() {
    std::ifstream in(kSampleDir + "/expected.adi", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::string adi = text.str();
    std::vector<std::string> calls;
    std::regex call("<CALL:(\\d+)>");
    for (auto it = std::sregex_iterator(adi.begin(), adi.end(), call); it != std::sregex_iterator(); ++it) {
        auto start = static_cast<std::size_t>(it->position(0) + it->length(0));
        calls.push_back(adi.substr(start, std::stoul((*it)[1].str())));
    }
    return calls;
}

constexpr std::size_t kCall = 2;
constexpr std::size_t kNote = 7;
constexpr std::size_t kValid = 28;
constexpr std::size_t kNumber = 34;

TEST(MdbEngineSample, ReadsTheLiveContactsOnlyAndAsManyAsTheTableAnnounces) {
    MdbEngine engine;
    auto cursor = engine.OpenTable(kSource, "QSO-TAB", AllQsoColumns());
    auto rows = ReadAll(*cursor);
    EXPECT_EQ(rows.size(), 79u) << "deleted contacts came back or live ones were lost";
    EXPECT_EQ(cursor->RowCount(), 79);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front().size(), 41u);
}

TEST(MdbEngineSample, EditedContactsStayWhereAccessShowsThem) {
    MdbEngine engine;
    auto rows = ReadAll(*engine.OpenTable(kSource, "QSO-TAB", AllQsoColumns()));
    std::vector<std::string> calls;
    for (const auto& row : rows) calls.push_back(row[kCall]);

    // Every exported contact appears, in the export's order.
    std::vector<std::string> expected = ExpectedCalls();
    ASSERT_EQ(expected.size(), 62u);
    std::size_t next = 0;
    for (const std::string& call : calls)
        if (next < expected.size() && call == expected[next]) ++next;
    EXPECT_EQ(next, expected.size()) << "contact " << (next < expected.size() ? expected[next] : "")
                                     << " is out of its place";

    // The logging program numbers contacts as they are entered; edits must not reorder them.
    long last = 0;
    for (const auto& row : rows) {
        if (row[kNumber].empty()) continue;
        long number = std::stol(row[kNumber]);
        EXPECT_GT(number, last) << "contact " << row[kCall] << " is out of its place";
        last = number;
    }
    EXPECT_EQ(calls.front(), "VU6TY") << "the first contact was edited and moved; it still comes first";
}

TEST(MdbEngineSample, ValuesComeAsDaoBindsThem) {
    MdbEngine engine;
    auto rows = ReadAll(*engine.OpenTable(kSource, "QSO-TAB", AllQsoColumns()));
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(rows[1][kCall], "YV0RU");
    EXPECT_EQ(rows[1][kValid], "-1") << "a long column keeps its sign";
    EXPECT_EQ(rows[1][kNumber], "2");
    EXPECT_EQ(rows[0][kNote].rfind("Karte erhalten, \xC3\x9C", 0), 0u) << "text arrives as UTF-8";
    EXPECT_GT(rows[0][kNote].size(), 255u) << "a long note is read whole";
    EXPECT_EQ(rows.back()[kNumber], "") << "a NULL long column reads as empty text";
}

TEST(MdbEngineSample, OnlyFetchedColumnsAreSentButAllMustExist) {
    MdbEngine engine;
    auto cursor = engine.OpenTable(kSource, "QSO-TAB",
                                   {{"QSO-DATE", FieldKind::Text, false}, {"QSO-CALL", FieldKind::Text, true}});
    std::vector<std::string> values;
    ASSERT_TRUE(cursor->Next(values));
    EXPECT_EQ(values, std::vector<std::string>{"VU6TY"});

    try {
        engine.OpenTable(kSource, "QSO-TAB", {{"QSO-NOPE", FieldKind::Text, false}});
        FAIL() << "a missing column that is not read must still fail the open";
    } catch (const CDaoException& e) {
        std::string text = e.what();
        EXPECT_NE(text.find("[QSO-NOPE]"), std::string::npos) << text;
        EXPECT_NE(text.find("[QSO-TAB]"), std::string::npos) << text;
        EXPECT_NE(text.find(kSource), std::string::npos) << text;
    }
}

TEST(MdbEngineSample, FirstValueOfVersionTable) {
    MdbEngine engine;
    EXPECT_EQ(engine.ReadFirstValue(kSource, "VERSION"), std::optional<std::string>("6"));
    EXPECT_EQ(engine.ReadFirstValue(kSource, "version"), std::optional<std::string>("6"));
    EXPECT_THROW(engine.ReadFirstValue(kRefdata, "VERSION"), CDaoException);
}

TEST(MdbEngineSample, RecordsetsWalkBothSampleTables) {
    MdbEngine engine;
    CmorvaskSet2 qso(engine, [] { return kSource; });
    qso.Open();
    int contacts = 0;
    int32_t firstNumber = -1;
    for (; !qso.IsEOF(); qso.MoveNext()) {
        if (contacts++ == 0) firstNumber = qso.m_QSO_NUMBER;
    }
    EXPECT_EQ(contacts, 79);
    EXPECT_EQ(firstNumber, 1);
    qso.Close();

    CMorvaskSet prefixes(engine, [] { return kRefdata; });
    prefixes.Open();
    int rows = 0;
    for (; !prefixes.IsEOF(); prefixes.MoveNext()) ++rows;
    EXPECT_EQ(rows, 65);
    prefixes.MoveFirst();
    EXPECT_FALSE(prefixes.IsEOF());
}

TEST(MdbEngineSample, CursorClosedEarlyLeavesNothingBehind) {
    MdbEngine engine;
    for (int i = 0; i < 20; ++i) {
        auto cursor = engine.OpenTable(kSource, "QSO-TAB", AllQsoColumns());
        std::vector<std::string> values;
        ASSERT_TRUE(cursor->Next(values));
    }
    // A reader that was not reaped would still be our child here.
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
}

}  // namespace
