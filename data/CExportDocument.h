#pragma once

#include <string>

#include "data/CMorvaskSet.h"
#include "data/CmorvaskSet2.h"
#include "data/DbEngine.h"

// The document the headless exporter works on, owner of the two recordsets: the prefix
// recordset on the reference database, built before the QSO recordset on the logging
// database. Each is opened on the path the document was given.
class CExportDocument {
public:
    CExportDocument(DbEngine& engine, std::string sourcePath, std::string refdataPath);
    CExportDocument(const CExportDocument&) = delete;
    CExportDocument& operator=(const CExportDocument&) = delete;

    CMorvaskSet m_morvaskSet;
    CmorvaskSet2 m_morvaskSet2;
};
