#include "tools/mdbwriter/DataPage.h"

#include <algorithm>

#include "tools/mdbwriter/WriteError.h"

namespace jet {

namespace {
constexpr std::size_t kFreeSpaceAt = 2;
constexpr std::size_t kOwnerAt = 4;
constexpr std::size_t kRowCountAt = 12;
}  // namespace

DataPage::DataPage(std::uint32_t owner) {
    m_page[0] = 0x01;
    m_page[1] = 0x01;
    PutU32(m_page, kOwnerAt, owner);
    PutU16(m_page, kFreeSpaceAt, static_cast<std::uint32_t>(kPageSize - kHeaderSize));
}

DataPage DataPage::LongValuePage() {
    DataPage page(0);
    page.m_page[4] = 'L';
    page.m_page[5] = 'V';
    page.m_page[6] = 'A';
    page.m_page[7] = 'L';
    return page;
}

bool DataPage::Fits(std::size_t rowSize) const {
    const std::size_t tableEnd = kHeaderSize + 2 * (m_rows + 1);
    return rowSize > 0 && m_rows < kMaxRows && tableEnd + rowSize <= m_dataStart;
}

std::uint32_t DataPage::Add(const std::vector<std::uint8_t>& row, std::uint16_t flags) {
    if (!Fits(row.size())) {
        throw WriteError("a row of " + std::to_string(row.size()) + " bytes does not fit on a data page holding " +
                         std::to_string(m_rows) + " rows");
    }
    m_dataStart -= row.size();
    std::copy(row.begin(), row.end(), m_page.begin() + static_cast<std::ptrdiff_t>(m_dataStart));
    PutU16(m_page, kHeaderSize + 2 * m_rows, static_cast<std::uint32_t>(m_dataStart) | flags);
    ++m_rows;
    PutU16(m_page, kRowCountAt, m_rows);
    PutU16(m_page, kFreeSpaceAt, static_cast<std::uint32_t>(m_dataStart - (kHeaderSize + 2 * m_rows)));
    return m_rows - 1;
}

std::size_t DataPage::RowStart(std::uint32_t row) const { return GetU16(m_page, kHeaderSize + 2 * row) & 0x1FFFu; }

}  // namespace jet
