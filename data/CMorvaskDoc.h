#pragma once

#include "data/CMorvaskSet.h"
#include "data/CmorvaskSet2.h"
#include "data/DbEngine.h"
#include "settings/RunSettings.h"

// The document: owner of the two recordsets for as long as the program runs. The prefix
// recordset is built before the QSO recordset. Each asks the run settings for its
// database path at the moment it is opened.
class CMorvaskDoc {
public:
    CMorvaskDoc(DbEngine& engine, const RunSettings& settings);
    CMorvaskDoc(const CMorvaskDoc&) = delete;
    CMorvaskDoc& operator=(const CMorvaskDoc&) = delete;

    CMorvaskSet m_morvaskSet;
    CmorvaskSet2 m_morvaskSet2;
};
