#include "data/MdbRowCracker.h"

MdbRowCracker::MdbRowCracker(MdbTableDef* table) : m_table(table), m_fields(table->num_cols + 1) {}

bool MdbRowCracker::Crack(int start, std::size_t length) {
    return mdb_crack_row(m_table, start, length, m_fields.data()) > 0;
}

const MdbField* MdbRowCracker::Field(int column) const {
    const auto wanted = static_cast<std::size_t>(column);
    // mdb_crack_row fills field j for column j; were it ever otherwise, the field is
    // looked for, the last one of the column counting.
    if (wanted < m_table->num_cols && m_fields[wanted].colnum >= 0 &&
        static_cast<std::size_t>(m_fields[wanted].colnum) == wanted)
        return &m_fields[wanted];
    for (std::size_t j = m_table->num_cols; j-- > 0;)
        if (m_fields[j].colnum >= 0 && static_cast<std::size_t>(m_fields[j].colnum) == wanted) return &m_fields[j];
    return nullptr;
}
