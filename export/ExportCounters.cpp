#include "export/ExportCounters.h"

#include <cstdio>

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

void ExportCounters::Format(Counter which) {
    char text[24];
    int length = std::snprintf(text, sizeof text, "%ld", m_counts[which]);
    m_texts[which].assign(text, static_cast<std::size_t>(length));
}
