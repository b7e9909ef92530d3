#pragma once

#include <array>
#include <string>

// The five counts of one export run and the texts the form shows for them. Each count is
// formatted with "%ld" into its text whenever it changes; before the first run the texts
// are empty.
class ExportCounters {
public:
    enum Counter { Total, NotValid, Valid, NotSameOprCall, NotDateRange, kCounterCount };

    // All five counts to 0 and their texts to "0".
    void Reset();
    void Add(Counter which);

    long Count(Counter which) const { return m_counts[which]; }
    const std::string& Text(Counter which) const { return m_texts[which]; }

private:
    void Format(Counter which);

    std::array<long, kCounterCount> m_counts{};
    std::array<std::string, kCounterCount> m_texts;
};
