#include "data/CMorvaskDoc.h"

CMorvaskDoc::CMorvaskDoc(DbEngine& engine, const RunSettings& settings)
    : m_morvaskSet(engine, [&settings] { return settings.m_strRefdataPath; }),
      m_morvaskSet2(engine, [&settings] { return settings.m_strSourcePath; }) {}
