#pragma once

#include <string>

#include "data/MdbLib.h"

class MdbDatabase;

// A table's usage map tells which pages hold its rows. The map in the table definition
// either carries the bitmap itself (type 0) or lists the pages that carry it (type 1),
// and for a type 1 map libmdb reads the listed bitmap page again before every data page
// it looks for: twice the reads a walk needs. This reads each bitmap page once and puts
// the whole bitmap into the definition as a type 0 map, which libmdb then scans in memory,
// finding the same pages in the same order.
class MdbUsageMap {
public:
    // Leaves type 0 maps, and maps of a type libmdb does not know, as they are. Throws
    // CDaoException (damaged) when a listed bitmap page cannot be read or is none.
    static void KeepInMemory(const MdbDatabase& db, MdbTableDef* table, const std::string& tableName);
};
