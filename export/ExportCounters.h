#pragma once

#include <array>
#include <string>

// The five counts of one export run and the texts the form shows for them, each count
// formatted with "%ld". A count changes twice for every contact while its text is looked
// at far less often, so a text is formatted when it is asked for after a change rather
// than at every change. Before the first run the texts are empty.
class ExportCounters {
public:
    enum Counter { Total, NotValid, Valid, NotSameOprCall, NotDateRange, kCounterCount };

    // All five counts to 0 and their texts to "0".
    void Reset();
    void Add(Counter which);

    long Count(Counter which) const { return m_counts[which]; }
    const std::string& Text(Counter which) const;

private:
    std::array<long, kCounterCount> m_counts{};
    mutable std::array<std::string, kCounterCount> m_texts;
    mutable std::array<bool, kCounterCount> m_stale{};
};
