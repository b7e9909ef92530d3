#include "export/QsoSelection.h"

#include "data/CmorvaskSet2.h"

QsoSelection::QsoSelection(const RunSettings& settings)
    : m_oprCall(settings.m_strOprCall), m_startDate(settings.m_strStartDate), m_endDate(settings.m_strEndDate) {}

bool QsoSelection::IsNotValid(const CmorvaskSet2& qso) const {
    return qso.m_QSO_VALID == 0 && qso.m_QSO_OPRCALL == m_oprCall;
}

bool QsoSelection::IsOtherOperator(const CmorvaskSet2& qso) const { return qso.m_QSO_OPRCALL != m_oprCall; }

bool QsoSelection::IsOutsideDateRange(const CmorvaskSet2& qso) const {
    return qso.m_QSO_DATE < m_startDate || qso.m_QSO_DATE > m_endDate;
}
