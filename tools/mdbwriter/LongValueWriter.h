#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "tools/mdbwriter/DataPage.h"
#include "tools/mdbwriter/PageFile.h"

namespace jet {

// Memo and OLE values. A row holds a 12-byte field header (length with flags, a pointer
// to the data, four zero bytes). Short values follow the header inside the row; longer
// ones take a row of a long-value (LVAL) page; values too long for one page are chained
// over whole LVAL pages, each row starting with the pointer to the next.
class LongValueWriter {
public:
    static constexpr std::size_t kHeaderSize = 12;
    static constexpr std::size_t kMaxInline = 64;
    static constexpr std::size_t kChunk = DataPage::kMaxRowSize - 4;

    explicit LongValueWriter(PageFile& file) : m_file(file) {}
    LongValueWriter(const LongValueWriter&) = delete;
    LongValueWriter& operator=(const LongValueWriter&) = delete;

    // The bytes that stand in the row for this value (header, and the data when inline).
    std::vector<std::uint8_t> Store(const std::vector<std::uint8_t>& data);
    // Writes the LVAL page still being filled.
    void Flush();

private:
    std::uint32_t StoreOnSharedPage(const std::vector<std::uint8_t>& data);
    std::uint32_t StoreChained(const std::vector<std::uint8_t>& data);

    PageFile& m_file;
    std::optional<DataPage> m_page;
    std::uint32_t m_pageNumber = 0;
};

}  // namespace jet
