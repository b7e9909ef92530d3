#pragma once

#include <string>
#include <vector>

#include "tools/mdbwriter/JetTypes.h"

// A plausible DXCC prefix list for the sample reference database: a few hundred prefixes,
// each with its country, entity number, zones, continent, position and time difference.
// Entities with several prefixes get one row per prefix, as real prefix lists have.
class PrefixCatalogue {
public:
    struct Entry {
        std::string prefix;
        std::string primary;  // the entity's usual prefix, which a log stores for its calls
        std::string country;
        std::string entity;  // the DXCC entity number, as text
        std::string continent;
        std::string cqZone;
        std::string ituZone;
        std::string latitude;
        std::string longitude;  // degrees west positive, as the logging program keeps it
        std::string timeDiff;   // hours to add to local time to get UTC
        bool deleted = false;   // an entity that no longer counts
    };

    PrefixCatalogue();

    const std::vector<Entry>& Entries() const { return m_entries; }

    // The 12 columns of "PREFIX-Pri" and a row for an entry.
    static std::vector<jet::Column> Columns();
    static jet::Row ToRow(const Entry& entry);

private:
    std::vector<Entry> m_entries;
};
