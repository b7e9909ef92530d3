#include <gtest/gtest.h>

#include <random>

#include "data/CMorvaskSet.h"
#include "tests/unit/ExportTestSupport.h"

namespace {

// Where a scan from the top, row by row, ends: the reference for the indexed lookup.
struct ScanResult {
    bool found;
    bool eof;
    std::string country;
};

ScanResult LinearScan(CMorvaskSet& set, const std::string& prefix) {
    set.MoveFirst();
    while (!set.IsEOF()) {
        if (set.m_PREFIX == prefix) return {true, false, set.m_COUNTRY};
        set.MoveNext();
    }
    return {false, true, ""};
}

// Every row carries its own country, so that the row found is told apart even among rows
// with the same prefix.
TEST(PrefixLookup, EqualsTheLinearScanForEveryInput) {
    std::mt19937 random(20120115);
    const std::vector<std::string> pool = {"DL", "dl", "DL ", " DL", "", "PA", "PA0", "OZ", "\xC3\x84", "9A", "A"};
    for (int table = 0; table < 40; ++table) {
        SCOPED_TRACE("table " + std::to_string(table));
        MemoryEngine engine;
        std::vector<std::vector<std::optional<std::string>>> rows;
        const int size = table == 0 ? 0 : static_cast<int>(random() % 12);
        for (int i = 0; i < size; ++i)
            rows.push_back(PrefixRow(pool[random() % pool.size()], std::to_string(i), "row " + std::to_string(i)));
        engine.SetTable("Refdata.mdb", "PREFIX-Pri", {PrefixTableColumns(), rows});
        CMorvaskSet set(engine, [] { return std::string("Refdata.mdb"); });
        set.Open();
        std::vector<std::string> inputs = pool;
        inputs.push_back("XX");
        for (const std::string& input : inputs) {
            ScanResult scan = LinearScan(set, input);
            set.MoveFirst();
            bool found = set.FindPrefix(input);
            EXPECT_EQ(found, scan.found) << '"' << input << '"';
            EXPECT_EQ(set.IsEOF(), scan.eof) << '"' << input << '"';
            if (found) {
                EXPECT_EQ(set.m_COUNTRY, scan.country) << '"' << input << '"';
            }
        }
    }
}

TEST(PrefixLookup, ReopenedTableIsIndexedAfresh) {
    MemoryEngine engine;
    engine.SetTable("Refdata.mdb", "PREFIX-Pri", {PrefixTableColumns(), {PrefixRow("DL", "230")}});
    CMorvaskSet set(engine, [] { return std::string("Refdata.mdb"); });
    set.Open();
    EXPECT_TRUE(set.FindPrefix("DL"));
    set.Close();
    EXPECT_FALSE(set.FindPrefix("DL")) << "a closed set finds nothing";
    engine.GetTable("Refdata.mdb", "PREFIX-Pri").rows = {PrefixRow("PA", "263"), PrefixRow("DL", "231")};
    set.Open();
    ASSERT_TRUE(set.FindPrefix("DL"));
    EXPECT_EQ(set.m_ARRL_ID, "231");
    EXPECT_TRUE(set.FindPrefix("PA"));
}

}  // namespace
