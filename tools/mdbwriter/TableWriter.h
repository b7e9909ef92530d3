#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/mdbwriter/DataPage.h"
#include "tools/mdbwriter/JetTypes.h"
#include "tools/mdbwriter/LongValueWriter.h"
#include "tools/mdbwriter/PageFile.h"
#include "tools/mdbwriter/RowEncoder.h"
#include "tools/mdbwriter/TableLayout.h"

namespace jet {

// Streams the rows of one table onto data pages as they come, so that tables of a
// million rows need little memory. Rows that moved keep a pointer in their slot; their
// data is written to pages of their own when the table is finished, the way Access
// leaves rows that outgrew their page.
class TableWriter {
public:
    TableWriter(PageFile& file, LongValueWriter& longValues, std::string name, std::vector<Column> columns,
                std::uint32_t definitionPage, bool system);
    TableWriter(const TableWriter&) = delete;
    TableWriter& operator=(const TableWriter&) = delete;

    // Kept and Deleted rows stay in place; Moved and MovedDeleted rows leave a pointer.
    void AddRow(const Row& row, RowMark mark = RowMark::Kept);
    // A row that was edited after it was written: its slot keeps the size of `original`,
    // the data found through the pointer is `edited`. mark is Moved or MovedDeleted.
    void AddEditedRow(const Row& original, const Row& edited, RowMark mark = RowMark::Moved);

    // Writes the remaining pages, the moved rows, the usage map and the definition.
    void Finish();

    const std::string& Name() const { return m_layout.TableName(); }
    std::uint32_t DefinitionPage() const { return m_definitionPage; }
    // Rows a reader should see: those not deleted.
    std::uint32_t RowCount() const { return m_rowCount; }

private:
    // Where a row went: its page, its row number there and the offset of its bytes.
    struct Placed {
        std::uint32_t page;
        std::uint32_t row;
        std::size_t offset;
    };
    std::vector<std::uint8_t> EncodeChecked(const Row& row) const;
    Placed Place(const std::vector<std::uint8_t>& bytes, std::uint16_t flags);
    void FlushPage();
    void WriteMovedRows();

    PageFile& m_file;
    LongValueWriter& m_longValues;
    TableLayout m_layout;
    RowEncoder m_encoder;
    std::uint32_t m_definitionPage;
    bool m_system;
    std::uint32_t m_rowCount = 0;
    std::optional<DataPage> m_page;  // being filled; its number is the last of m_pages
    std::vector<std::uint32_t> m_pages;
    std::vector<std::vector<std::uint8_t>> m_movedRows;  // the data, in the order of m_pointers
    std::vector<Placed> m_pointers;
    bool m_finished = false;
};

}  // namespace jet
