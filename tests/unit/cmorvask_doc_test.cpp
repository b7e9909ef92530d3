#include <gtest/gtest.h>

#include "data/CDaoException.h"
#include "data/CMorvaskDoc.h"
#include "tests/support/MemoryEngine.h"

namespace {

TEST(CMorvaskDoc, RecordsetsOpenTheFilesTheSettingsNameAtOpenTime) {
    MemoryEngine engine;
    engine.SetTable("old/log.mdb", "QSO-TAB", {QsoTableColumns(), {}});
    engine.SetTable("new/log.mdb", "QSO-TAB", {QsoTableColumns(), {}});
    engine.SetTable("new/Refdata.mdb", "PREFIX-Pri", {PrefixTableColumns(), {}});
    RunSettings settings;
    settings.m_strSourcePath = "old/log.mdb";
    settings.m_strRefdataPath = "missing/Refdata.mdb";
    CMorvaskDoc doc(engine, settings);

    // Settings accepted after the document was built must still be the ones opened.
    settings.m_strSourcePath = "new/log.mdb";
    settings.m_strRefdataPath = "new/Refdata.mdb";
    EXPECT_EQ(doc.m_morvaskSet2.GetDefaultDBName(), "new/log.mdb");
    EXPECT_EQ(doc.m_morvaskSet.GetDefaultDBName(), "new/Refdata.mdb");
    EXPECT_NO_THROW(doc.m_morvaskSet.Open());
    EXPECT_NO_THROW(doc.m_morvaskSet2.Open());
    EXPECT_TRUE(doc.m_morvaskSet.IsOpen());
    EXPECT_TRUE(doc.m_morvaskSet2.IsOpen());
}

TEST(CMorvaskDoc, EachRecordsetReadsItsOwnDatabase) {
    MemoryEngine engine;
    engine.SetTable("log.mdb", "QSO-TAB", {QsoTableColumns(), {}});
    RunSettings settings;
    settings.m_strSourcePath = "log.mdb";
    settings.m_strRefdataPath = "log.mdb";
    CMorvaskDoc doc(engine, settings);
    EXPECT_THROW(doc.m_morvaskSet.Open(), CDaoException) << "the prefix table is not in the log database";
    EXPECT_FALSE(doc.m_morvaskSet.IsOpen());
}

}  // namespace
