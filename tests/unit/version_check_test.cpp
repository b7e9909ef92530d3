#include <gtest/gtest.h>

#include "data/VersionCheck.h"
#include "tests/support/MemoryEngine.h"

namespace {

using Cell = std::optional<std::string>;

struct VersionCase {
    const char* name;
    std::vector<Cell> firstColumn;  // one cell per row, in table order
    bool accepted;
    const char* table = "VERSION";
};

TEST(CheckMdbVersion, ReadsTheFirstValueAsAtoiDoes) {
    const VersionCase cases[] = {
        {"6 is the oldest accepted", {"6"}, true},
        {"6.0: the minor number is ignored", {"6.0"}, true},
        {"10 compares as a number, not as text", {"10"}, true},
        {"5 is too old", {"5"}, false},
        {"5.9 is still 5", {"5.9"}, false},
        {"leading blank before 7 is skipped", {" 7"}, true},
        {"tab and newline count as blanks", {"\t\n7"}, true},
        {"explicit plus sign", {"+6"}, true},
        {"minus 8 is below 6", {"-8"}, false},
        {"a sign must touch its digits", {"- 8"}, false},
        {"a letter first gives 0", {"A7"}, false},
        {"empty text gives 0", {""}, false},
        {"blanks only give 0", {"   "}, false},
        {"digits after the number are ignored", {"7b"}, true},
        {"a number too large for long is still large", {"99999999999999999999"}, true},
        {"a number too small for long is still small", {"-99999999999999999999"}, false},
        {"only the first row counts", {"5", "7"}, false},
        {"a later 5 does not spoil a first 7", {"7", "5"}, true},
        {"NULL is refused", {std::nullopt}, false},
        {"no rows is refused", {}, false},
        {"no VERSION table is a refusal, not an error", {"7"}, false, "VERSIONS"},
    };
    for (const VersionCase& c : cases) {
        MemoryEngine engine;
        MemoryEngine::Table table{{{"VER", FieldKind::Text}}, {}};
        for (const Cell& cell : c.firstColumn) table.rows.push_back({cell});
        engine.SetTable("log.mdb", c.table, table);
        EXPECT_EQ(CheckMdbVersion(engine, "log.mdb"), c.accepted) << c.name;
    }
    MemoryEngine none;
    EXPECT_FALSE(CheckMdbVersion(none, "elsewhere.mdb")) << "a file that cannot be read is a refusal";
}

}  // namespace
