#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tools/mdbwriter/LongValueWriter.h"
#include "tools/mdbwriter/PageFile.h"
#include "tools/mdbwriter/TableWriter.h"

namespace jet {

// The system tables Access keeps in every database, on the pages it gives them: the
// catalog MSysObjects (page 2), MSysACEs, MSysQueries and MSysRelationships (pages 3 to 5).
// The catalog holds the three containers under the root (Tables, Databases,
// Relationships), the database object MSysDb under Databases, and one row per table, the
// system tables first, each under Tables with its definition page as its id. Readers find
// a table by its name under the Tables container; one that misses a container refuses
// the whole file.
class SystemCatalog {
public:
    static constexpr std::uint32_t kCatalogPage = 2;
    // The first page after those of the file header, the global usage map and the system
    // tables' definitions.
    static constexpr std::uint32_t kFirstFreePage = 6;

    // Whether a table of that name would clash with a system table; Access tells names
    // apart without regard to case.
    static bool IsSystemTableName(const std::string& name);

    // Writes the system tables with the catalog rows of `userTables`, in their order.
    static void Write(PageFile& file, LongValueWriter& longValues,
                      const std::vector<std::unique_ptr<TableWriter>>& userTables);
};

}  // namespace jet
