#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "tools/mdbwriter/JetTypes.h"
#include "tools/sampledb/PrefixCatalogue.h"

// Makes the contacts of the sample log, one at a time and in date order, from a seed
// alone: the same seed gives the same contacts on every machine (only the engine of
// <random> is used, never its distributions, whose results differ between libraries).
class ContactGenerator {
public:
    struct Contact {
        jet::Row row;                   // the 41 columns of "QSO-TAB"
        std::optional<jet::Row> before; // for an edited contact, the row as first entered
        jet::RowMark mark = jet::RowMark::Kept;
    };

    ContactGenerator(const PrefixCatalogue& prefixes, std::uint64_t seed, long count, std::string oprCall);

    Contact Next();

    static std::vector<jet::Column> Columns();

private:
    std::uint64_t Below(std::uint64_t bound);
    bool Chance(int percent) { return Below(1000) < static_cast<std::uint64_t>(percent * 10); }
    bool PerMille(int perMille) { return Below(1000) < static_cast<std::uint64_t>(perMille); }
    template <typename T, std::size_t N>
    const T& Pick(const T (&items)[N]) { return items[Below(N)]; }
    std::string Weighted(const std::vector<std::pair<const char*, int>>& table);

    std::string Date(long day) const;
    std::string Frequency(int band);
    std::string CallFor(const PrefixCatalogue::Entry& entity);
    std::string Grid();

    const PrefixCatalogue& m_prefixes;
    std::mt19937_64 m_random;
    long m_count;
    long m_index = 0;
    std::string m_oprCall;
    std::vector<std::size_t> m_common;  // each current entity's first entry, the busiest first
};
