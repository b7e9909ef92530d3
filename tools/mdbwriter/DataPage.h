#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/mdbwriter/PageBytes.h"

namespace jet {

// A data page (type 0x01) as it is being filled: a 14-byte header, the row-offset table
// growing from the front, the rows growing from the back. Row offsets carry Access's
// flags in their top bits.
class DataPage {
public:
    static constexpr std::uint16_t kDeletedFlag = 0x8000;
    static constexpr std::uint16_t kMovedFlag = 0x4000;
    static constexpr std::size_t kHeaderSize = 14;
    // The most a single row can hold: the whole page less the header and one offset.
    static constexpr std::size_t kMaxRowSize = kPageSize - kHeaderSize - 2;
    // Pointers to rows keep the row number in one byte, so Access puts at most 255 rows
    // on a page; more would make some rows unreachable.
    static constexpr std::uint32_t kMaxRows = 255;

    // A page of the table whose definition is on page `owner`.
    explicit DataPage(std::uint32_t owner);
    // A long-value page: Access writes the tag "LVAL" where the owner would be.
    static DataPage LongValuePage();

    bool Fits(std::size_t rowSize) const;
    // Appends a row; returns its row number. The caller checks Fits first.
    std::uint32_t Add(const std::vector<std::uint8_t>& row, std::uint16_t flags = 0);
    // Where a row's bytes start within the page.
    std::size_t RowStart(std::uint32_t row) const;
    const Page& Bytes() const { return m_page; }

private:
    Page m_page{};
    std::uint32_t m_rows = 0;
    std::size_t m_dataStart = kPageSize;
};

}  // namespace jet
