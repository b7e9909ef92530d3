#pragma once

#include <functional>
#include <string>
#include <unordered_map>

#include "data/CDaoRecordset.h"

// One row of the reference database's prefix table "PREFIX-Pri": 12 columns, 9 texts and
// 3 flags. The table is small and scanned for every exported contact, so its rows are
// held in memory while the recordset is open.
class CMorvaskSet : public CDaoRecordset {
public:
    // defaultDbName gives the reference database path at the time of each Open.
    CMorvaskSet(DbEngine& engine, std::function<std::string()> defaultDbName);

    static constexpr int kFieldCount = 12;

    std::string m_PREFIX;
    std::string m_COUNTRY;
    std::string m_LATITUDE;
    std::string m_LONGITUDE;
    bool m_DEL_STATUS = false;
    bool m_QSL_FIELD_CHECK = false;
    bool m_QSL_BUREAU = false;
    std::string m_CQ_ZONE;
    std::string m_ITU_ZONE;
    std::string m_ARRL_ID;
    std::string m_CONTINENT;
    std::string m_TIMEDIFF;

    std::string GetDefaultDBName() override;
    std::string GetDefaultSQL() override;
    void DoFieldExchange(CDaoFieldExchange* pFX) override;

    // The prefix lookup: stands on the first row, in table order, whose "[PREFIX]" equals
    // prefix byte for byte, and returns true; without such a row (or when closed) stands
    // past the end and returns false. Gives the row a scan from the top would give, without
    // scanning the table for every contact.
    bool FindPrefix(const std::string& prefix);

protected:
    void OnOpened() override;

private:
    std::function<std::string()> m_defaultDbName;
    // "[PREFIX]" to the index of its first row, rebuilt at every Open.
    std::unordered_map<std::string, std::size_t> m_prefixRows;
};
