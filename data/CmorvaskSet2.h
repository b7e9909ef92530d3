#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "data/CDaoRecordset.h"

// One row of the logging program's contact table "QSO-TAB": 41 columns, 36 texts and
// 5 longs, bound in this order. The table is only ever read.
class CmorvaskSet2 : public CDaoRecordset {
public:
    // defaultDbName gives the source database path at the time of each Open.
    CmorvaskSet2(DbEngine& engine, std::function<std::string()> defaultDbName);

    static constexpr int kFieldCount = 41;

    std::string m_QSO_DATE;
    std::string m_QSO_TIME;
    std::string m_QSO_CALL;
    std::string m_QSO_RSTS;
    std::string m_QSO_RSTR;
    std::string m_QSO_NAME;
    std::string m_QSO_QTH;
    std::string m_QSO_NOTE;
    std::string m_QSO_PREFIX;
    std::string m_QSO_CQ_ZONE;
    std::string m_QSO_ITU_ZONE;
    std::string m_QSO_MODE;
    std::string m_QSO_SUBMODE;
    std::string m_QSO_FREQ;
    std::string m_QSO_BAND;
    std::string m_QSO_WPX;
    std::string m_QSO_STATE;
    std::string m_QSO_COUNTY;
    std::string m_QSO_IOTA;
    std::string m_QSO_GRID;
    std::string m_QSO_TEN_TEN;
    std::string m_QSO_SPEC1;
    std::string m_QSO_SPEC2;
    std::string m_QSO_CONFIRM;
    std::string m_QSO_QSLS;
    std::string m_QSO_QSL_SENT;
    std::string m_QSO_QSL_VIA;
    std::string m_QSO_MGR_NUMB;
    int32_t m_QSO_VALID = 0;
    int32_t m_QSO_AWARD = 0;
    int32_t m_QSO_SELECT = 0;
    int32_t m_QSO_CATEGORY = 0;
    std::string m_QSO_SAT;
    std::string m_QSO_QSL_NUMBER;
    int32_t m_QSO_NUMBER = 0;
    std::string m_QSO_OPRCALL;
    std::string m_QSO_QSLRDATE;
    std::string m_QSO_POWER;
    std::string m_QSO_LOTWREC;
    std::string m_QSO_ENDTIME;
    std::string m_QSO_SATMODE;

    std::string GetDefaultDBName() override;
    std::string GetDefaultSQL() override;
    void DoFieldExchange(CDaoFieldExchange* pFX) override;

private:
    std::function<std::string()> m_defaultDbName;
};
