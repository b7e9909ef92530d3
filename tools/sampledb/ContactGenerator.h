#pragma once

#include <cstdint>
#include <iterator>
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
        jet::Row row;                    // the 41 columns of "QSO-TAB"
        std::optional<jet::Row> before;  // for an edited contact, the row as first entered
        jet::RowMark mark = jet::RowMark::Kept;
    };

    ContactGenerator(const PrefixCatalogue& prefixes, std::uint64_t seed, long count, std::string oprCall);

    Contact Next();

    static std::vector<jet::Column> Columns();

    // Band code, lowest and highest frequency in tenths of a kHz, weight in the log.
    struct Band {
        int code;
        std::uint64_t low, high;
        int weight;
    };

private:
    std::uint64_t Below(std::uint64_t bound);
    bool Chance(int percent) { return PerMille(percent * 10); }
    bool PerMille(int perMille) { return Below(1000) < static_cast<std::uint64_t>(perMille); }
    template <typename T, std::size_t N>
    const T& Pick(const T (&items)[N]) {
        return items[Below(N)];
    }
    std::string Weighted(const std::vector<std::pair<const char*, int>>& table);
    // One of `items`, each as likely as its weight.
    template <typename Items, typename WeightOf>
    const auto& PickWeighted(const Items& items, WeightOf weightOf) {
        int total = 0;
        for (const auto& item : items) {
            total += weightOf(item);
        }
        auto pick = static_cast<int>(Below(static_cast<std::uint64_t>(total)));
        for (const auto& item : items) {
            if (pick < weightOf(item)) {
                return item;
            }
            pick -= weightOf(item);
        }
        return *std::prev(std::end(items));
    }

    std::string Date(long day) const;
    std::string Frequency(const Band& band);
    std::string CallFor(const PrefixCatalogue::Entry& entity);
    std::string Grid();

    const PrefixCatalogue& m_prefixes;
    std::mt19937_64 m_random;
    long m_count;
    long m_index = 0;
    std::string m_oprCall;
    std::vector<std::size_t> m_common;  // each current entity's first entry, the busiest first
};
