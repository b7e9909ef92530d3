#include "tools/mdbwriter/LongValueWriter.h"

#include <algorithm>
#include <string>

#include "tools/mdbwriter/WriteError.h"

namespace jet {

namespace {
constexpr std::uint32_t kInlineFlag = 0x80000000;
constexpr std::uint32_t kSinglePageFlag = 0x40000000;
// Readers take the top byte of the length for flags, so a value must stay below 16 MiB.
constexpr std::size_t kMaxLength = 0x00FFFFFF;
}  // namespace

std::vector<std::uint8_t> LongValueWriter::Store(const std::vector<std::uint8_t>& data) {
    if (data.size() > kMaxLength) {
        throw WriteError("a memo or OLE value of " + std::to_string(data.size()) +
                         " bytes is too long; the limit is 16 MiB");
    }
    std::vector<std::uint8_t> field(kHeaderSize, 0);
    const auto length = static_cast<std::uint32_t>(data.size());
    if (data.size() <= kMaxInline) {
        PutU32(field, 0, length | kInlineFlag);
        field.insert(field.end(), data.begin(), data.end());
    } else if (data.size() <= DataPage::kMaxRowSize) {
        PutU32(field, 0, length | kSinglePageFlag);
        PutU32(field, 4, StoreOnSharedPage(data));
    } else {
        PutU32(field, 0, length);
        PutU32(field, 4, StoreChained(data));
    }
    return field;
}

std::uint32_t LongValueWriter::StoreOnSharedPage(const std::vector<std::uint8_t>& data) {
    if (m_page && !m_page->Fits(data.size())) {
        Flush();
    }
    if (!m_page) {
        m_page = DataPage::LongValuePage();
        m_pageNumber = m_file.Allocate();
    }
    return PageRow(m_pageNumber, m_page->Add(data));
}

std::uint32_t LongValueWriter::StoreChained(const std::vector<std::uint8_t>& data) {
    const std::size_t chunks = (data.size() + kChunk - 1) / kChunk;
    std::vector<std::uint32_t> pages(chunks);
    for (auto& page : pages) {
        page = m_file.Allocate();
    }
    for (std::size_t i = 0; i < chunks; ++i) {
        const std::size_t from = i * kChunk;
        const std::size_t to = std::min(data.size(), from + kChunk);
        std::vector<std::uint8_t> row(4, 0);
        PutU32(row, 0, i + 1 < chunks ? PageRow(pages[i + 1], 0) : 0);
        row.insert(row.end(), data.begin() + static_cast<std::ptrdiff_t>(from),
                   data.begin() + static_cast<std::ptrdiff_t>(to));
        DataPage page = DataPage::LongValuePage();
        page.Add(row);
        m_file.Write(pages[i], page.Bytes());
    }
    return PageRow(pages.front(), 0);
}

void LongValueWriter::Flush() {
    if (m_page) {
        m_file.Write(m_pageNumber, m_page->Bytes());
        m_page.reset();
    }
}

}  // namespace jet
