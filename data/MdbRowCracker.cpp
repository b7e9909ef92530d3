#include "data/MdbRowCracker.h"

MdbRowCracker::MdbRowCracker(MdbTableDef* table, const std::vector<int>& columns)
    : m_table(table), m_columns(columns), m_fields(table->num_cols + 1) {}

bool MdbRowCracker::Crack(int start, std::size_t length) {
    return mdb_crack_row(m_table, start, length, m_fields.data()) > 0;
}

const MdbField* MdbRowCracker::Field(std::size_t i) const {
    const auto column = static_cast<std::size_t>(m_columns[i]);
    // mdb_crack_row fills field j for column j; were it ever otherwise, the field is
    // looked for, the last one of the column counting.
    if (column < m_table->num_cols && m_fields[column].colnum >= 0 &&
        static_cast<std::size_t>(m_fields[column].colnum) == column)
        return &m_fields[column];
    for (std::size_t j = m_table->num_cols; j-- > 0;)
        if (m_fields[j].colnum >= 0 && static_cast<std::size_t>(m_fields[j].colnum) == column) return &m_fields[j];
    return nullptr;
}
