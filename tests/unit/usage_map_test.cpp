#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/FileBytes.h"
#include "tests/support/TempPrefix.h"
#include "tools/mdbwriter/UsageMap.h"

namespace {

// Decodes a usage map the way a reader walks it: type 0 from its start page, type 1
// through bitmap pages that each cover 32736 pages.
std::vector<std::uint32_t> Decode(const std::vector<std::uint8_t>& map, const std::string& file) {
    std::vector<std::uint32_t> pages;
    const auto collect = [&pages](const void* bitmap, std::uint32_t bits, std::uint32_t firstPage) {
        for (std::uint32_t bit = 0; bit < bits; ++bit) {
            if (static_cast<const std::uint8_t*>(bitmap)[bit / 8] & (1u << (bit % 8))) {
                pages.push_back(firstPage + bit);
            }
        }
    };
    if (map[0] == 0) {
        collect(&map[5], static_cast<std::uint32_t>(map.size() - 5) * 8, jet::GetU32(map, 1));
        return pages;
    }
    for (std::uint32_t entry = 0; entry < (map.size() - 1) / 4; ++entry) {
        if (const std::size_t bitmapPage = jet::GetU32(map, 1 + 4 * entry)) {
            EXPECT_EQ(file[bitmapPage * 4096], 0x05);
            collect(&file[bitmapPage * 4096 + 4], jet::UsageMap::kPagesPerBitmapPage,
                    entry * jet::UsageMap::kPagesPerBitmapPage);
        }
    }
    return pages;
}

TEST(UsageMapTest, ReaderFindsExactlyTheTablesPages) {
    struct Case {
        const char* what;
        std::vector<std::uint32_t> pages;
        int type;
    };
    const std::vector<Case> cases = {
        {"no page at all", {}, 0},
        {"a few pages inline", {5, 6, 7, 300}, 0},
        {"last page of the inline span", {10, 521}, 0},
        {"one page past the inline span", {10, 522}, 1},
        {"pages on both sides of a bitmap page's end", {100, 32735, 32736, 70000}, 1},
    };
    TempPrefix dir;
    for (const auto& c : cases) {
        const std::string path = dir.Root() + "/map.mdb";
        std::vector<std::uint8_t> map;
        {
            jet::PageFile file(path);
            file.Allocate();
            file.Write(0, jet::Page{});
            map = jet::UsageMap::Build(c.pages, file);
            file.Close();
        }
        const std::string bytes = ReadFile(path);
        EXPECT_EQ(map[0], c.type) << c.what;
        EXPECT_LE(map.size(), 4000u) << c.what << ": the map must fit in a row";
        EXPECT_EQ(Decode(map, bytes), c.pages) << c.what;
    }
}

}  // namespace
