#pragma once

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

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

    // The prefix lookup: the "[ARRL-ID]" of the first row, in table order, whose "[PREFIX]"
    // equals prefix byte for byte, or nullptr without such a row (or when closed): the row
    // a scan from the top would stop on, found without scanning. The set does not move for
    // it, so it still stands on its first row for the next lookup, where a rewind after
    // every contact would put it.
    const std::string* FindArrlId(const std::string& prefix) const;

    // The columns the lookup reads; the others need not be fetched for it.
    static std::vector<std::string> LookupColumns() { return {"PREFIX", "ARRL-ID"}; }

protected:
    void OnOpened() override;

private:
    std::function<std::string()> m_defaultDbName;
    // "[PREFIX]" to the index of its first row, rebuilt at every Open.
    std::unordered_map<std::string, std::size_t> m_prefixRows;
    std::size_t m_arrlIdColumn = 0;
};
