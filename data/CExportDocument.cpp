#include "data/CExportDocument.h"

CExportDocument::CExportDocument(DbEngine& engine, std::string sourcePath, std::string refdataPath)
    : m_morvaskSet(engine, [path = std::move(refdataPath)] { return path; }),
      m_morvaskSet2(engine, [path = std::move(sourcePath)] { return path; }) {}
