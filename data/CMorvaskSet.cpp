#include "data/CMorvaskSet.h"

#include "data/CDaoFieldExchange.h"

CMorvaskSet::CMorvaskSet(DbEngine& engine, std::function<std::string()> defaultDbName)
    : CDaoRecordset(engine), m_defaultDbName(std::move(defaultDbName)) {
    SetBuffering(Buffering::Keep);
}

std::string CMorvaskSet::GetDefaultDBName() { return m_defaultDbName(); }

std::string CMorvaskSet::GetDefaultSQL() { return "[PREFIX-Pri]"; }

void CMorvaskSet::DoFieldExchange(CDaoFieldExchange* pFX) {
    DFX_Text(pFX, "[PREFIX]", m_PREFIX, 255);
    DFX_Text(pFX, "[COUNTRY]", m_COUNTRY, 255);
    DFX_Text(pFX, "[LATITUDE]", m_LATITUDE, 255);
    DFX_Text(pFX, "[LONGITUDE]", m_LONGITUDE, 255);
    DFX_Bool(pFX, "[DEL-STATUS]", m_DEL_STATUS);
    DFX_Bool(pFX, "[QSL-FIELD-CHECK]", m_QSL_FIELD_CHECK);
    DFX_Bool(pFX, "[QSL-BUREAU]", m_QSL_BUREAU);
    DFX_Text(pFX, "[CQ-ZONE]", m_CQ_ZONE, 255);
    DFX_Text(pFX, "[ITU-ZONE]", m_ITU_ZONE, 255);
    DFX_Text(pFX, "[ARRL-ID]", m_ARRL_ID, 255);
    DFX_Text(pFX, "[CONTINENT]", m_CONTINENT, 255);
    DFX_Text(pFX, "[TIMEDIFF]", m_TIMEDIFF, 255);
}

void CMorvaskSet::OnOpened() {
    m_prefixRows.clear();
    const std::size_t column = FetchedIndexOf("PREFIX");
    m_arrlIdColumn = FetchedIndexOf("ARRL-ID");
    const std::size_t rows = GetKeptRowCount();
    m_prefixRows.reserve(rows);
    // emplace keeps the entry already there, so the first row of a prefix wins.
    for (std::size_t row = 0; row < rows; ++row) m_prefixRows.emplace(GetKeptRow(row)[column], row);
}

const std::string* CMorvaskSet::FindArrlId(const std::string& prefix) const {
    if (!IsOpen()) return nullptr;
    auto found = m_prefixRows.find(prefix);
    return found == m_prefixRows.end() ? nullptr : &GetKeptRow(found->second)[m_arrlIdColumn];
}
