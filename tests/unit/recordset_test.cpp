#include <gtest/gtest.h>

#include "data/CDaoException.h"
#include "data/CExportDocument.h"
#include "tests/support/MemoryEngine.h"

namespace {

using Row = std::vector<std::optional<std::string>>;

Row QsoRow(const std::string& call, std::optional<std::string> valid) {
    return NamedRow(QsoTableColumns(), {{"QSO-CALL", call}, {"QSO-VALID", std::move(valid)}});
}

struct RecordsetTest : ::testing::Test {
    MemoryEngine engine;
    RunSettings settings;
    CExportDocument doc{engine, settings};
    CmorvaskSet2& qso = doc.m_morvaskSet2;
    CMorvaskSet& prefixes = doc.m_morvaskSet;

    void SetUp() override {
        settings.m_strSourcePath = "log.mdb";
        settings.m_strRefdataPath = "Refdata.mdb";
        engine.SetTable("log.mdb", "QSO-TAB", {QsoTableColumns(), {}});
        engine.SetTable("Refdata.mdb", "PREFIX-Pri", {PrefixTableColumns(), {}});
    }
    std::vector<Row>& QsoRows() { return engine.GetTable("log.mdb", "QSO-TAB").rows; }
    std::vector<std::string> WalkCalls() {
        std::vector<std::string> calls;
        for (qso.Open(); !qso.IsEOF(); qso.MoveNext()) calls.push_back(qso.m_QSO_CALL);
        return calls;
    }
};

TEST_F(RecordsetTest, WalksInOrderAndMoveFirstAfterTheEndReadsTheTableAgain) {
    QsoRows() = {QsoRow("PA3ABC", "-1"), QsoRow("DL1XX", std::nullopt)};
    EXPECT_EQ(WalkCalls(), (std::vector<std::string>{"PA3ABC", "DL1XX"}));
    EXPECT_FALSE(qso.IsBOF());
    qso.MoveFirst();
    EXPECT_EQ(qso.m_QSO_CALL, "PA3ABC");
    EXPECT_FALSE(qso.IsEOF());
}

TEST_F(RecordsetTest, EveryOpenReadsTheFileTheSettingsNameThen) {
    QsoRows() = {QsoRow("PA3ABC", "1")};
    EXPECT_EQ(WalkCalls(), std::vector<std::string>{"PA3ABC"});
    qso.Close();
    // Settings changed after the document was built are the ones opened.
    engine.SetTable("other.mdb", "QSO-TAB", {QsoTableColumns(), {QsoRow("G4ABC", "1")}});
    settings.m_strSourcePath = "other.mdb";
    EXPECT_EQ(WalkCalls(), std::vector<std::string>{"G4ABC"});
    engine.GetTable("Refdata.mdb", "PREFIX-Pri").rows = {
        NamedRow(PrefixTableColumns(), {{"PREFIX", "DL"}, {"DEL-STATUS", "-1"}})};
    prefixes.Open();
    EXPECT_EQ(prefixes.m_PREFIX, "DL");
    EXPECT_TRUE(prefixes.m_DEL_STATUS) << "Yes arrives as -1";
    prefixes.Close();
    settings.m_strRefdataPath = "other.mdb";
    EXPECT_THROW(prefixes.Open(), CDaoException) << "the prefix recordset must read the reference path";
    EXPECT_FALSE(prefixes.IsOpen());
}

}  // namespace
