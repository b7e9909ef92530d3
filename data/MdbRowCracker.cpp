#include "data/MdbRowCracker.h"

namespace {

MdbColumn* ColumnAt(MdbTableDef* table, std::size_t index) {
    return static_cast<MdbColumn*>(g_ptr_array_index(table->columns, index));
}

// As mdb_get_int16 reads it, without a call into the library for each of a row's entries.
unsigned U16At(const unsigned char* page, unsigned offset) {
    return static_cast<unsigned>(page[offset]) | static_cast<unsigned>(page[offset + 1]) << 8;
}

}  // namespace

MdbRowCracker::MdbRowCracker(MdbTableDef* table, const std::vector<int>& columns) : m_table(table), m_shown(*table) {
    std::vector<bool> wanted(table->num_cols, false);
    for (int column : columns) wanted.at(static_cast<std::size_t>(column)) = true;
    // Shown to libmdb: position in the shown table of each column of the table, or none.
    std::vector<std::size_t> shownAt(table->num_cols, table->num_cols);
    if (!IS_JET3(table->entry->mdb)) {
        m_shownColumns = g_ptr_array_new();
        for (std::size_t i = 0; i < table->num_cols; ++i) {
            MdbColumn* column = ColumnAt(table, i);
            if (wanted[i] || column->is_fixed) {
                shownAt[i] = m_shownColumns->len;
                g_ptr_array_add(m_shownColumns, column);
            } else {
                m_skippedVarColumns.push_back(column->var_col_num);
            }
        }
        m_shown.columns = m_shownColumns;
        m_shown.num_cols = m_shownColumns->len;
    } else {
        for (std::size_t i = 0; i < table->num_cols; ++i) shownAt[i] = i;
    }
    m_fields.resize(m_shown.num_cols + 1);
    for (int column : columns) m_fieldOfWanted.push_back(shownAt[static_cast<std::size_t>(column)]);
}

MdbRowCracker::~MdbRowCracker() {
    if (m_shownColumns) g_ptr_array_free(m_shownColumns, TRUE);
}

bool MdbRowCracker::Crack(int start, std::size_t length) {
    if (mdb_crack_row(&m_shown, start, length, m_fields.data()) <= 0) return false;
    return m_skippedVarColumns.empty() || SkippedColumnsFit(start, length);
}

// mdb_crack_row refuses a row when a column ends beyond it. Variable column v ends where
// entry v + 1 of the row's offset table says; the table lies before the null mask at the
// row's end, counted backwards, and libmdb has just read all of it, whichever columns it
// was shown. A table without variable columns has no offset table for libmdb.
bool MdbRowCracker::SkippedColumnsFit(int start, std::size_t length) const {
    if (m_table->num_var_cols == 0) return true;
    const unsigned char* page = m_table->entry->mdb->pg_buf;
    const auto rowEnd = static_cast<unsigned>(start) + static_cast<unsigned>(length) - 1;
    const unsigned nullMaskBytes = (U16At(page, static_cast<unsigned>(start)) + 7) / 8;
    const unsigned rowVarColumns = U16At(page, rowEnd - nullMaskBytes - 1);
    // Entry i of the offset table, counted back from its first.
    const unsigned entries = rowEnd - nullMaskBytes - 3;
    for (unsigned column : m_skippedVarColumns)
        if (column < rowVarColumns && U16At(page, entries - 2 * (column + 1)) > length) return false;
    return true;
}

const MdbField* MdbRowCracker::Field(std::size_t i) const {
    const std::size_t shown = m_fieldOfWanted[i];
    if (shown >= m_shown.num_cols) return nullptr;
    // mdb_crack_row fills field j for column j; were it ever otherwise, the field is
    // looked for, the last one of the column counting.
    if (m_fields[shown].colnum >= 0 && static_cast<std::size_t>(m_fields[shown].colnum) == shown)
        return &m_fields[shown];
    for (std::size_t j = m_shown.num_cols; j-- > 0;)
        if (m_fields[j].colnum >= 0 && static_cast<std::size_t>(m_fields[j].colnum) == shown) return &m_fields[j];
    return nullptr;
}
