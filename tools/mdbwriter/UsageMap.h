#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/mdbwriter/PageFile.h"

namespace jet {

// The record that tells which pages belong to a table. Small tables get an inline map
// (type 0: a start page and a 64-byte bitmap); larger ones a type 1 map whose entries
// point to bitmap pages (type 0x05), each covering 32736 pages.
class UsageMap {
public:
    static constexpr std::size_t kRowSize = 69;
    static constexpr std::uint32_t kInlinePages = 64 * 8;
    static constexpr std::uint32_t kPagesPerBitmapPage = (kPageSize - 4) * 8;

    // `pages` in ascending order. Writes the bitmap pages a type 1 map needs.
    static std::vector<std::uint8_t> Build(const std::vector<std::uint32_t>& pages, PageFile& file);
    // An inline map that marks no page (the free-space map of a finished table).
    static std::vector<std::uint8_t> None();
    // The database's own map on page 1, which marks the free pages, not the used ones: an
    // inline map from page 0 marking every page from `firstFreePage` on. A writer such as
    // Access takes a marked page for a new one, so no page of the file may be marked.
    static std::vector<std::uint8_t> FreeFrom(std::uint32_t firstFreePage);
};

}  // namespace jet
