#include "tools/mdbwriter/UsageMap.h"

#include <algorithm>

namespace jet {

namespace {

// An inline map's bitmap starts after its type and start page; a bitmap page's after its
// four header bytes. Bit n stands for the nth page from the map's start.
constexpr std::size_t kInlineBitmap = 5;
constexpr std::size_t kPageBitmap = 4;

void MarkBit(std::uint8_t* bitmap, std::uint32_t bit) {
    bitmap[bit / 8] = static_cast<std::uint8_t>(bitmap[bit / 8] | (1u << (bit % 8)));
}

}  // namespace

std::vector<std::uint8_t> UsageMap::None() { return std::vector<std::uint8_t>(kRowSize, 0); }

std::vector<std::uint8_t> UsageMap::FreeFrom(std::uint32_t firstFreePage) {
    std::vector<std::uint8_t> row = None();
    for (std::uint32_t page = firstFreePage; page < kInlinePages; ++page) {
        MarkBit(row.data() + kInlineBitmap, page);
    }
    return row;
}

std::vector<std::uint8_t> UsageMap::Build(const std::vector<std::uint32_t>& pages, PageFile& file) {
    const std::uint32_t first = pages.empty() ? 0 : pages.front();
    if (pages.empty() || pages.back() - first < kInlinePages) {
        std::vector<std::uint8_t> row = None();
        PutU32(row, 1, first);
        for (const auto page : pages) {
            MarkBit(row.data() + kInlineBitmap, page - first);
        }
        return row;
    }
    const std::size_t entries = std::max<std::size_t>((kRowSize - 1) / 4, pages.back() / kPagesPerBitmapPage + 1);
    std::vector<std::uint8_t> row(1 + 4 * entries, 0);
    row[0] = 0x01;
    std::size_t at = 0;
    while (at < pages.size()) {
        const std::uint32_t entry = pages[at] / kPagesPerBitmapPage;
        Page bitmap{};
        bitmap[0] = 0x05;
        bitmap[1] = 0x01;
        for (; at < pages.size() && pages[at] / kPagesPerBitmapPage == entry; ++at) {
            MarkBit(bitmap.data() + kPageBitmap, pages[at] % kPagesPerBitmapPage);
        }
        const std::uint32_t bitmapPage = file.Allocate();
        file.Write(bitmapPage, bitmap);
        PutU32(row, 1 + 4 * entry, bitmapPage);
    }
    return row;
}

}  // namespace jet
