#pragma once

#include <cstddef>
#include <vector>

#include "data/MdbLib.h"

// Takes the rows of one table apart with libmdb's mdb_crack_row, as far as the reading
// needs. mdb_crack_row finds every column of the row, though a reading wants a few (the
// export reads 15 of the contact table's 41), and that was the larger part of the reader's
// work. So in an Access 2000 or later file libmdb is shown the table with the wanted
// columns only, and every fixed-length column besides, because it finds a fixed column by
// counting those before it. A row libmdb finds damaged stays damaged: libmdb refuses a row
// when a column ends beyond it, and for a variable-length column left out that end is one
// entry of the row's offset table, which is looked at here. In an Access 97 file, whose
// offset table libmdb reads with jumps, every column is shown to libmdb as before.
class MdbRowCracker {
public:
    // columns: indexes into table->columns of the wanted columns; table must outlive this.
    MdbRowCracker(MdbTableDef* table, const std::vector<int>& columns);
    ~MdbRowCracker();
    MdbRowCracker(const MdbRowCracker&) = delete;
    MdbRowCracker& operator=(const MdbRowCracker&) = delete;

    // Takes apart the row at start, length bytes long, on the current page. False where
    // mdb_crack_row on the whole table would fail or find no columns.
    bool Crack(int start, std::size_t length);
    // The field of wanted column i (in the order of columns) of the row taken apart last,
    // or nullptr when libmdb gave none.
    const MdbField* Field(std::size_t i) const;

private:
    bool SkippedColumnsFit(int start, std::size_t length) const;

    MdbTableDef* m_table;
    MdbTableDef m_shown;  // a copy of *m_table with m_shownColumns; only for mdb_crack_row
    GPtrArray* m_shownColumns = nullptr;
    std::vector<unsigned> m_skippedVarColumns;  // var_col_num of each variable column left out
    std::vector<MdbField> m_fields;
    std::vector<std::size_t> m_fieldOfWanted;
};
