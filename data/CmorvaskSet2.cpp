#include "data/CmorvaskSet2.h"

#include "data/CDaoFieldExchange.h"

CmorvaskSet2::CmorvaskSet2(DbEngine& engine, std::function<std::string()> defaultDbName)
    : CDaoRecordset(engine), m_defaultDbName(std::move(defaultDbName)) {}

std::string CmorvaskSet2::GetDefaultDBName() { return m_defaultDbName(); }

std::string CmorvaskSet2::GetDefaultSQL() { return "[QSO-TAB]"; }

void CmorvaskSet2::DoFieldExchange(CDaoFieldExchange* pFX) {
    DFX_Text(pFX, "[QSO-DATE]", m_QSO_DATE, 255);
    DFX_Text(pFX, "[QSO-TIME]", m_QSO_TIME, 255);
    DFX_Text(pFX, "[QSO-CALL]", m_QSO_CALL, 255);
    DFX_Text(pFX, "[QSO-RSTS]", m_QSO_RSTS, 255);
    DFX_Text(pFX, "[QSO-RSTR]", m_QSO_RSTR, 255);
    DFX_Text(pFX, "[QSO-NAME]", m_QSO_NAME, 255);
    DFX_Text(pFX, "[QSO-QTH]", m_QSO_QTH, 255);
    DFX_Text(pFX, "[QSO-NOTE]", m_QSO_NOTE, 255);
    DFX_Text(pFX, "[QSO-PREFIX]", m_QSO_PREFIX, 255);
    DFX_Text(pFX, "[QSO-CQ-ZONE]", m_QSO_CQ_ZONE, 255);
    DFX_Text(pFX, "[QSO-ITU-ZONE]", m_QSO_ITU_ZONE, 255);
    DFX_Text(pFX, "[QSO-MODE]", m_QSO_MODE, 255);
    DFX_Text(pFX, "[QSO-SUBMODE]", m_QSO_SUBMODE, 255);
    DFX_Text(pFX, "[QSO-FREQ]", m_QSO_FREQ, 255);
    DFX_Text(pFX, "[QSO-BAND]", m_QSO_BAND, 255);
    DFX_Text(pFX, "[QSO-WPX]", m_QSO_WPX, 255);
    DFX_Text(pFX, "[QSO-STATE]", m_QSO_STATE, 255);
    DFX_Text(pFX, "[QSO-COUNTY]", m_QSO_COUNTY, 255);
    DFX_Text(pFX, "[QSO-IOTA]", m_QSO_IOTA, 255);
    DFX_Text(pFX, "[QSO-GRID]", m_QSO_GRID, 255);
    DFX_Text(pFX, "[QSO-TEN-TEN]", m_QSO_TEN_TEN, 255);
    DFX_Text(pFX, "[QSO-SPEC1]", m_QSO_SPEC1, 255);
    DFX_Text(pFX, "[QSO-SPEC2]", m_QSO_SPEC2, 255);
    DFX_Text(pFX, "[QSO-CONFIRM]", m_QSO_CONFIRM, 255);
    DFX_Text(pFX, "[QSO-QSLS]", m_QSO_QSLS, 255);
    DFX_Text(pFX, "[QSO-QSL-SENT]", m_QSO_QSL_SENT, 255);
    DFX_Text(pFX, "[QSO-QSL-VIA]", m_QSO_QSL_VIA, 255);
    DFX_Text(pFX, "[QSO-MGR-NUMB]", m_QSO_MGR_NUMB, 255);
    DFX_Long(pFX, "[QSO-VALID]", m_QSO_VALID);
    DFX_Long(pFX, "[QSO-AWARD]", m_QSO_AWARD);
    DFX_Long(pFX, "[QSO-SELECT]", m_QSO_SELECT);
    DFX_Long(pFX, "[QSO-CATEGORY]", m_QSO_CATEGORY);
    DFX_Text(pFX, "[QSO-SAT]", m_QSO_SAT, 255);
    DFX_Text(pFX, "[QSO-QSL-NUMBER]", m_QSO_QSL_NUMBER, 255);
    DFX_Long(pFX, "[QSO-NUMBER]", m_QSO_NUMBER);
    DFX_Text(pFX, "[QSO-OPRCALL]", m_QSO_OPRCALL, 255);
    DFX_Text(pFX, "[QSO-QSLRDATE]", m_QSO_QSLRDATE, 255);
    DFX_Text(pFX, "[QSO-POWER]", m_QSO_POWER, 255);
    DFX_Text(pFX, "[QSO-LOTWREC]", m_QSO_LOTWREC, 255);
    DFX_Text(pFX, "[QSO-ENDTIME]", m_QSO_ENDTIME, 255);
    DFX_Text(pFX, "[QSO-SATMODE]", m_QSO_SATMODE, 255);
}
