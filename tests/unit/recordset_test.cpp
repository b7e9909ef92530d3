#include <gtest/gtest.h>

#include "data/CDaoException.h"
#include "data/CMorvaskSet.h"
#include "data/CmorvaskSet2.h"
#include "tests/support/MemoryEngine.h"

namespace {

using Row = std::vector<std::optional<std::string>>;

Row QsoRow(const std::string& date, const std::string& call, const std::string& valid) {
    Row row(41);
    row[0] = date;
    row[2] = call;
    row[28] = valid;
    return row;
}

struct RecordsetTest : ::testing::Test {
    MemoryEngine engine;
    CmorvaskSet2 qso{engine, [] { return std::string("log.mdb"); }};
    CMorvaskSet prefixes{engine, [] { return std::string("Refdata.mdb"); }};

    void SetUp() override {
        engine.SetTable("log.mdb", "QSO-TAB", {QsoTableColumns(), {}});
        engine.SetTable("Refdata.mdb", "PREFIX-Pri", {PrefixTableColumns(), {}});
    }
};

TEST_F(RecordsetTest, EmptyTableStandsBeforeStartAndPastEnd) {
    qso.Open();
    EXPECT_TRUE(qso.IsOpen());
    EXPECT_TRUE(qso.IsEOF());
    EXPECT_TRUE(qso.IsBOF());
}

TEST_F(RecordsetTest, WalksRowsInOrderAndFillsMembers) {
    auto& rows = engine.GetTable("log.mdb", "QSO-TAB").rows;
    rows.push_back(QsoRow("20120101", "PA3ABC", "-1"));
    rows.push_back(QsoRow("20120102", "DL1XX", std::string()));
    qso.Open();
    ASSERT_FALSE(qso.IsEOF());
    EXPECT_EQ(qso.m_QSO_DATE, "20120101");
    EXPECT_EQ(qso.m_QSO_VALID, -1);
    qso.MoveNext();
    EXPECT_EQ(qso.m_QSO_CALL, "DL1XX");
    EXPECT_EQ(qso.m_QSO_VALID, 0) << "NULL reads as 0";
    qso.MoveNext();
    EXPECT_TRUE(qso.IsEOF());
    EXPECT_FALSE(qso.IsBOF());
    qso.MoveFirst();
    EXPECT_EQ(qso.m_QSO_DATE, "20120101") << "MoveFirst after the end reads the table again";
}

TEST_F(RecordsetTest, SecondOpenSeesRowsAddedSinceTheFirst) {
    auto& rows = engine.GetTable("log.mdb", "QSO-TAB").rows;
    rows.push_back(QsoRow("20120101", "PA3ABC", "1"));
    qso.Open();
    qso.Close();
    rows.push_back(QsoRow("20120102", "PA3ABC", "1"));
    qso.Open();
    int seen = 0;
    for (; !qso.IsEOF(); qso.MoveNext()) ++seen;
    EXPECT_EQ(seen, 2);
}

TEST_F(RecordsetTest, MissingColumnFailsTheOpenNamingIt) {
    auto& table = engine.GetTable("log.mdb", "QSO-TAB");
    table.columns.erase(table.columns.begin() + 20);  // QSO-TEN-TEN, never read but bound
    try {
        qso.Open();
        FAIL() << "open succeeded without [QSO-TEN-TEN]";
    } catch (const CDaoException& e) {
        EXPECT_NE(std::string(e.what()).find("QSO-TEN-TEN"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(qso.IsOpen());
}

TEST_F(RecordsetTest, UnfetchedColumnsMustExistButKeepTheirMembersEmpty) {
    auto& rows = engine.GetTable("log.mdb", "QSO-TAB").rows;
    Row row = QsoRow("20120101", "PA3ABC", "1");
    row[5] = "Hans";  // QSO-NAME
    rows.push_back(row);
    qso.SetFetchedColumns({"QSO-DATE", "QSO-CALL"});
    qso.Open();
    EXPECT_EQ(qso.m_QSO_CALL, "PA3ABC");
    EXPECT_EQ(qso.m_QSO_NAME, "");
    EXPECT_EQ(qso.m_QSO_VALID, 0);
}

TEST_F(RecordsetTest, KeptRowsRewindWithoutReadingTheTableAgain) {
    auto& rows = engine.GetTable("Refdata.mdb", "PREFIX-Pri").rows;
    for (const char* p : {"DL", "PA", "G"}) {
        Row row(12);
        row[0] = p;
        row[4] = "-1";
        rows.push_back(row);
    }
    prefixes.Open();
    int opens = engine.OpenTableCalls();
    prefixes.MoveNext();
    prefixes.MoveNext();
    EXPECT_EQ(prefixes.m_PREFIX, "G");
    EXPECT_TRUE(prefixes.m_DEL_STATUS);
    prefixes.MoveFirst();
    EXPECT_EQ(prefixes.m_PREFIX, "DL");
    EXPECT_EQ(engine.OpenTableCalls(), opens);
}

}  // namespace
