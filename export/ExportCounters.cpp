#include "export/ExportCounters.h"

#include <charconv>

void ExportCounters::Reset() {
    m_counts.fill(0);
    m_stale.fill(true);
}

void ExportCounters::Add(Counter which) {
    ++m_counts[which];
    m_stale[which] = true;
}

// std::to_chars writes a long as "%ld" does (a minus sign, then the digits without leading
// zeros) without the cost of parsing a format.
const std::string& ExportCounters::Text(Counter which) const {
    if (m_stale[which]) {
        char text[24];
        auto [end, ec] = std::to_chars(text, text + sizeof text, m_counts[which]);
        m_texts[which].assign(text, end);
        m_stale[which] = false;
    }
    return m_texts[which];
}
