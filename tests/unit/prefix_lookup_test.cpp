#include <gtest/gtest.h>

#include <random>

#include "data/CMorvaskSet.h"
#include "tests/unit/ExportTestSupport.h"

namespace {

// Where a scan from the top, row by row, ends: the country of the row, or "" past the end.
std::string LinearScan(CMorvaskSet& set, const std::string& prefix) {
    for (set.MoveFirst(); !set.IsEOF(); set.MoveNext())
        if (set.m_PREFIX == prefix) return set.m_COUNTRY;
    return "";
}

// Random tables of prefixes that differ in case, blanks and bytes, opened twice so that a
// stale index would show. Every row has its own country, so duplicates are told apart.
TEST(PrefixLookup, EqualsTheLinearScanForEveryInput) {
    std::mt19937 random(20120115);
    const std::vector<std::string> pool = {"DL", "dl", "DL ", " DL", "", "PA", "PA0", "\xC3\x84", "9A", "XX"};
    MemoryEngine engine;
    CMorvaskSet set(engine, [] { return std::string("Refdata.mdb"); });
    for (int table = 0; table < 40; ++table) {
        std::vector<std::vector<std::optional<std::string>>> rows;
        for (int i = 0, size = table == 0 ? 0 : static_cast<int>(random() % 12); i < size; ++i)
            rows.push_back(PrefixRow(pool[random() % (pool.size() - 1)], "", "row " + std::to_string(i)));
        engine.SetTable("Refdata.mdb", "PREFIX-Pri", {PrefixTableColumns(), rows});
        set.Open();
        for (const std::string& input : pool) {
            std::string scanned = LinearScan(set, input);
            set.MoveFirst();
            bool found = set.FindPrefix(input);
            EXPECT_EQ(found ? set.m_COUNTRY : "", scanned) << "table " << table << " prefix \"" << input << '"';
            EXPECT_EQ(set.IsEOF(), !found);
        }
        set.Close();
        EXPECT_FALSE(set.FindPrefix("DL")) << "a closed set finds nothing";
    }
}

}  // namespace
