#include "tools/mdbwriter/TableWriter.h"

#include <string>

#include "tools/mdbwriter/TableDefinitionPage.h"
#include "tools/mdbwriter/UsageMap.h"
#include "tools/mdbwriter/WriteError.h"

namespace jet {

namespace {
constexpr std::size_t kPointerSize = 4;
}

TableWriter::TableWriter(PageFile& file, LongValueWriter& longValues, std::string name, std::vector<Column> columns,
                         std::uint32_t definitionPage, bool system)
    : m_file(file),
      m_longValues(longValues),
      m_layout(std::move(name), std::move(columns)),
      m_encoder(m_layout, m_longValues),
      m_definitionPage(definitionPage),
      m_system(system) {}

std::vector<std::uint8_t> TableWriter::EncodeChecked(const Row& row) const {
    auto bytes = m_encoder.Encode(row);
    if (bytes.size() > DataPage::kMaxRowSize) {
        throw WriteError("a row of table \"" + Name() + "\" takes " + std::to_string(bytes.size()) +
                         " bytes, more than a page holds; put long texts in memo columns");
    }
    return bytes;
}

TableWriter::Placed TableWriter::Place(const std::vector<std::uint8_t>& bytes, std::uint16_t flags) {
    if (m_page && !m_page->Fits(bytes.size())) {
        FlushPage();
    }
    if (!m_page) {
        m_page.emplace(m_definitionPage);
        m_pages.push_back(m_file.Allocate());
    }
    const auto row = m_page->Add(bytes, flags);
    return {m_pages.back(), row, m_page->RowStart(row)};
}

void TableWriter::FlushPage() {
    if (m_page) {
        m_file.Write(m_pages.back(), m_page->Bytes());
        m_page.reset();
    }
}

void TableWriter::AddRow(const Row& row, RowMark mark) {
    if (mark == RowMark::Moved || mark == RowMark::MovedDeleted) {
        AddEditedRow(row, row, mark);
        return;
    }
    if (m_finished) {
        throw WriteError("table \"" + Name() + "\" is finished; add rows before closing the database");
    }
    const auto bytes = EncodeChecked(row);
    if (mark == RowMark::Deleted) {
        // Access flags a deleted row with both top bits and leaves its bytes in place.
        Place(bytes, DataPage::kDeletedFlag | DataPage::kMovedFlag);
    } else {
        Place(bytes, 0);
        ++m_rowCount;
    }
}

void TableWriter::AddEditedRow(const Row& original, const Row& edited, RowMark mark) {
    if (m_finished) {
        throw WriteError("table \"" + Name() + "\" is finished; add rows before closing the database");
    }
    if (mark != RowMark::Moved && mark != RowMark::MovedDeleted) {
        throw WriteError("an edited row of table \"" + Name() + "\" must be marked Moved or MovedDeleted");
    }
    // The slot keeps the room of the row as first written; the pointer overwrites its
    // start and the rest is cleared.
    auto slot = EncodeChecked(original);
    slot.assign(std::max(slot.size(), kPointerSize), 0);
    auto data = EncodeChecked(edited);
    const std::uint16_t flags =
        mark == RowMark::Moved ? DataPage::kMovedFlag : DataPage::kDeletedFlag | DataPage::kMovedFlag;
    m_pointers.push_back(Place(slot, flags));
    m_movedRows.push_back(std::move(data));
    if (mark == RowMark::Moved) {
        ++m_rowCount;
    }
}

void TableWriter::WriteMovedRows() {
    // The moved data carries the deleted flag, so that a walk over the pages does not
    // meet the row twice: it is reached through the pointer in its original slot.
    std::vector<std::uint32_t> targets;
    targets.reserve(m_movedRows.size());
    for (const auto& data : m_movedRows) {
        const auto placed = Place(data, DataPage::kDeletedFlag);
        targets.push_back(PageRow(placed.page, placed.row));
    }
    FlushPage();
    for (std::size_t i = 0; i < m_pointers.size(); ++i) {
        std::vector<std::uint8_t> pointer(kPointerSize, 0);
        PutU32(pointer, 0, targets[i]);
        m_file.Patch(m_pointers[i].page, m_pointers[i].offset, pointer);
    }
    m_movedRows.clear();
}

void TableWriter::Finish() {
    if (m_finished) {
        return;
    }
    // Moved rows go to pages of their own after all others, as Access appends them.
    FlushPage();
    WriteMovedRows();
    m_finished = true;

    DataPage mapPage(0);
    auto used = UsageMap::Build(m_pages, m_file);
    const std::uint32_t mapPageNumber = m_file.Allocate();
    const auto usedRow = mapPage.Add(used);
    const auto freeRow = mapPage.Add(UsageMap::None());
    m_file.Write(mapPageNumber, mapPage.Bytes());

    TableDefinitionPage::Facts facts;
    facts.system = m_system;
    facts.rowCount = m_rowCount;
    facts.usedPagesMap = PageRow(mapPageNumber, usedRow);
    facts.freePagesMap = PageRow(mapPageNumber, freeRow);
    m_file.Write(m_definitionPage, TableDefinitionPage::Build(m_layout, facts));
}

}  // namespace jet
