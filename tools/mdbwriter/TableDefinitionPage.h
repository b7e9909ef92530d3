#pragma once

#include <cstdint>

#include "tools/mdbwriter/PageBytes.h"
#include "tools/mdbwriter/TableLayout.h"

namespace jet {

// The table definition page (type 0x02): row count, column counts, pointers to the
// usage maps, then one 25-byte descriptor per column and the column names in UCS-2.
// Tables here have no indexes, so the definition always fits on one page.
class TableDefinitionPage {
public:
    struct Facts {
        bool system = false;
        std::uint32_t rowCount = 0;
        std::uint32_t usedPagesMap = 0;  // page/row address of the usage map record
        std::uint32_t freePagesMap = 0;
    };

    // Throws WriteError when the definition would not fit on one page.
    static Page Build(const TableLayout& layout, const Facts& facts);
};

}  // namespace jet
