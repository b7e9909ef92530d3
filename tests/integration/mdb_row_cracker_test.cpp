#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/CDaoException.h"
#include "data/MdbDatabase.h"
#include "data/MdbEngine.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempPrefix.h"
#include "tools/mdbwriter/DatabaseWriter.h"

// The reader takes apart whole rows, also the columns it does not read: a column that ends
// beyond its row marks the row as damaged, whichever columns a reading wants.

namespace {

using jet::Column;

constexpr int kDeletedOrMoved = 0xC000;
constexpr int kOffsetMask = 0x1fff;

// A table of fixed and variable columns in turn, with NULL, empty and long values.
std::string WriteTable(const TempPrefix& dir, int rows) {
    const std::string path = dir.Root() + "/cracker.mdb";
    jet::DatabaseWriter db(path);
    auto& table =
        db.AddTable("T", {Column::Long("A"), Column::Text("B"), Column::Long("C"), Column::Text("D"), Column::Text("E"),
                          Column::Byte("F"), Column::Text("G"), Column::Bool("H"), Column::Text("I")});
    for (int n = 0; n < rows; ++n) {
        auto text = [n](int column) -> jet::Value {
            if ((n + column) % 7 == 0) return std::monostate{};
            return std::string(static_cast<std::size_t>((n * column) % 40), static_cast<char>('a' + column));
        };
        table.AddRow({std::int64_t{n}, text(1), std::int64_t{-n}, text(3), text(4), std::int64_t{n % 200}, text(6),
                      n % 3 == 0, std::string(n % 5 == 0 ? 255 : 2, 'z')});
    }
    db.Close();
    return path;
}

struct RowAt {
    unsigned long page;
    int start;
    std::size_t length;
};

std::vector<RowAt> RowsOf(MdbDatabase& db, MdbTableDef* table) {
    MdbHandle* mdb = db.Handle();
    std::vector<RowAt> rows;
    mdb_rewind_table(table);
    for (int page; (page = mdb_read_next_dpg(table)) > 0;) {
        const int slots = mdb_get_int16(mdb->pg_buf, mdb->fmt->row_count_offset);
        for (int slot = 0; slot < slots; ++slot) {
            int start = 0;
            std::size_t length = 0;
            if (mdb_find_row(mdb, slot, &start, &length) != 0 || (start & kDeletedOrMoved)) continue;
            rows.push_back({static_cast<unsigned long>(page), start & kOffsetMask, length});
        }
    }
    return rows;
}

// A row whose column that is not read ends beyond the row is damage all the same, as when
// every column was read.
TEST(MdbRowCracker, AColumnNotReadThatEndsBeyondItsRowIsDamage) {
    TempPrefix dir;
    const std::string path = WriteTable(dir, 10);
    RowAt first{};
    unsigned entryOfG = 0;
    {
        MdbDatabase::PrepareProcess();
        MdbDatabase db(path, 1 << 20);
        MdbDatabase::TablePtr table = db.OpenTable("T");
        first = RowsOf(db, table.get()).at(0);
        auto* g = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, MdbDatabase::FindColumn(table.get(), "G")));
        ASSERT_FALSE(g->is_fixed);
        entryOfG = g->var_col_num + 1;  // where G ends
    }
    std::string bytes = ReadFile(path);
    const std::size_t page = first.page * 4096;
    const std::size_t rowEnd = page + static_cast<std::size_t>(first.start) + first.length - 1;
    const std::size_t columns = static_cast<unsigned char>(bytes[page + static_cast<std::size_t>(first.start)]);
    const std::size_t at = rowEnd - (columns + 7) / 8 - 3 - 2 * entryOfG;
    bytes[at] = static_cast<char>((first.length + 1) & 0xFF);
    bytes[at + 1] = static_cast<char>((first.length + 1) >> 8);
    const std::string damaged = dir.WriteFile("damaged.mdb", bytes);

    std::string error = "read without complaint";
    try {
        auto cursor = MdbEngine().OpenTable(damaged, "T", {{"A", FieldKind::Long}, {"B", FieldKind::Text}});
        for (std::vector<std::string> values; cursor->Next(values);) {}
    } catch (const CDaoException& e) {
        error = e.what();
    }
    EXPECT_NE(error.find("cannot be taken apart"), std::string::npos) << error;
}

}  // namespace
