#include "export/ExportCounters.h"

#include <charconv>

void ExportCounters::Reset() {
    for (int i = 0; i < kCounterCount; ++i) {
        m_counts[i] = 0;
        Format(static_cast<Counter>(i));
    }
}

void ExportCounters::Add(Counter which) {
    ++m_counts[which];
    Format(which);
}

// std::to_chars writes a long as "%ld" does (a minus sign, then the digits without leading
// zeros) without the cost of parsing a format for every change.
void ExportCounters::Format(Counter which) {
    char text[24];
    auto [end, ec] = std::to_chars(text, text + sizeof text, m_counts[which]);
    m_texts[which].assign(text, end);
}
