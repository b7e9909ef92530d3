#pragma once

#include "data/CMorvaskSet.h"
#include "data/CmorvaskSet2.h"
#include "data/DbEngine.h"
#include "settings/RunSettings.h"

// The document the headless exporter works on, owner of the two recordsets. The prefix
// recordset is built before the QSO recordset. Each asks the run settings for its
// database path at the moment it is opened.
class CExportDocument {
public:
    CExportDocument(DbEngine& engine, const RunSettings& settings);
    CExportDocument(const CExportDocument&) = delete;
    CExportDocument& operator=(const CExportDocument&) = delete;

    CMorvaskSet m_morvaskSet;
    CmorvaskSet2 m_morvaskSet2;
};
