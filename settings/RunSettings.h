#pragma once

#include <string>

// The six values that govern one run: where the two databases lie, where the ADIF file
// goes, whose contacts are exported and which dates. Settled at start-up, fixed afterwards.
struct RunSettings {
    std::string m_strSourcePath;
    std::string m_strRefdataPath;
    std::string m_strAdiPath;
    std::string m_strOprCall;
    std::string m_strStartDate;
    std::string m_strEndDate;
};
