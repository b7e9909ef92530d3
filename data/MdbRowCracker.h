#pragma once

#include <cstddef>
#include <vector>

#include "data/MdbLib.h"

// Takes the rows of one table apart with libmdb's mdb_crack_row and finds the fields of the
// columns a reading wants. Every column of the row is taken apart, also those not read:
// libmdb refuses a row when any column ends beyond it, and that refusal is what tells a
// damaged row.
class MdbRowCracker {
public:
    // table must outlive this.
    explicit MdbRowCracker(MdbTableDef* table);

    // Takes apart the row at start, length bytes long, on the current page. False where
    // mdb_crack_row fails or finds no columns.
    bool Crack(int start, std::size_t length);
    // The field of column `column` (an index into table->columns) of the row taken apart
    // last, or nullptr when libmdb gave none.
    const MdbField* Field(int column) const;

private:
    MdbTableDef* m_table;
    std::vector<MdbField> m_fields;
};
