#include "data/CExportDocument.h"

CExportDocument::CExportDocument(DbEngine& engine, const RunSettings& settings)
    : m_morvaskSet(engine, [&settings] { return settings.m_strRefdataPath; }),
      m_morvaskSet2(engine, [&settings] { return settings.m_strSourcePath; }) {}
