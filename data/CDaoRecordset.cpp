#include "data/CDaoRecordset.h"

#include <algorithm>

#include "data/CDaoException.h"
#include "data/CDaoFieldExchange.h"

CDaoRecordset::CDaoRecordset(DbEngine& engine) : m_engine(engine) {}

CDaoRecordset::~CDaoRecordset() = default;

void CDaoRecordset::ClearMembers() {
    CDaoFieldExchange fx = CDaoFieldExchange::Clear();
    DoFieldExchange(&fx);
}

void CDaoRecordset::Open() {
    if (m_bOpen) Close();
    m_columns.clear();
    m_members.clear();
    CDaoFieldExchange fx = CDaoFieldExchange::Describe(&m_columns, &m_fetchedNames, &m_members);
    DoFieldExchange(&fx);
    OpenCursor();
    if (m_buffering == Buffering::Keep) {
        m_kept.clear();
        std::vector<std::string> values;
        while (m_cursor->Next(values)) m_kept.push_back(values);
        m_cursor.reset();
    }
    m_bOpen = true;
    m_bBOF = false;
    m_bEOF = false;
    m_position = 0;
    if (m_buffering == Buffering::Keep) {
        SetAbsolutePosition(0);
    } else {
        ReadNext();
    }
    // An empty table stands both before its start and past its end.
    if (m_bEOF) m_bBOF = true;
    OnOpened();
}

void CDaoRecordset::OpenCursor() {
    m_cursor = m_engine.OpenTable(GetDefaultDBName(), StripBrackets(GetDefaultSQL()), m_columns);
    m_tableRows = m_cursor->RowCount();
}

void CDaoRecordset::Close() {
    m_cursor.reset();
    m_kept.clear();
    m_kept.shrink_to_fit();
    m_bOpen = false;
    m_bEOF = true;
    m_bBOF = true;
    m_position = 0;
    m_tableRows = 0;
    ClearMembers();
}

long CDaoRecordset::GetTableRowCount() const { return m_tableRows; }

template <typename Value>
void CDaoRecordset::LoadCurrent(const std::vector<Value>& values) {
    for (std::size_t i = 0; i < m_members.size(); ++i) m_members[i].Load(values.at(i));
}

void CDaoRecordset::ReadNext() {
    if (m_cursor && m_cursor->NextViews(m_row)) {
        LoadCurrent(m_row);
        return;
    }
    m_cursor.reset();
    m_bEOF = true;
}

void CDaoRecordset::SetAbsolutePosition(std::size_t index) {
    m_position = std::min(index, m_kept.size());
    m_bEOF = m_position == m_kept.size();
    if (!m_bEOF) LoadCurrent(m_kept[m_position]);
}

std::size_t CDaoRecordset::FetchedIndexOf(const std::string& column) const {
    std::size_t index = 0;
    for (const ColumnRequest& request : m_columns) {
        if (!request.fetched) continue;
        if (request.name == column) return index;
        ++index;
    }
    throw CDaoException("Column [" + column + "] is not read by this recordset.");
}

void CDaoRecordset::MoveFirst() {
    if (!m_bOpen) throw CDaoException("The recordset on [" + StripBrackets(GetDefaultSQL()) + "] is not open.");
    m_bBOF = false;
    if (m_buffering == Buffering::Keep) {
        SetAbsolutePosition(0);
    } else if (m_position != 0 || m_bEOF) {
        m_bEOF = false;
        m_position = 0;
        OpenCursor();
        ReadNext();
    }
    if (m_bEOF) m_bBOF = true;
}

void CDaoRecordset::MoveNext() {
    if (!m_bOpen || m_bEOF) return;
    ++m_position;
    if (m_buffering == Buffering::Keep) {
        SetAbsolutePosition(m_position);
    } else {
        ReadNext();
    }
}
