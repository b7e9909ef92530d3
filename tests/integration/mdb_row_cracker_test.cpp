#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "data/CDaoException.h"
#include "data/MdbDatabase.h"
#include "data/MdbEngine.h"
#include "data/MdbRowCracker.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempPrefix.h"
#include "tools/mdbwriter/DatabaseWriter.h"

// The cracker shows libmdb only the columns asked for; what it finds in a row, and which
// rows it refuses, must be what libmdb finds taking apart the whole table.

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

// libmdb says what it refuses on standard error; the refusals are counted here instead.
class QuietStandardError {
public:
    QuietStandardError() : m_saved(::dup(STDERR_FILENO)) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDERR_FILENO);
        ::close(null);
    }
    ~QuietStandardError() {
        ::dup2(m_saved, STDERR_FILENO);
        ::close(m_saved);
    }
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

private:
    int m_saved;
};

// The two verdicts on the row on the page in the buffer; "" when they agree.
std::string Disagreement(MdbTableDef* table, MdbRowCracker& cracker, const std::vector<int>& wanted, const RowAt& row) {
    std::vector<MdbField> all(table->num_cols + 1);
    const bool whole = mdb_crack_row(table, row.start, row.length, all.data()) > 0;
    const bool shown = cracker.Crack(row.start, row.length);
    if (whole != shown) return whole ? "refused a row libmdb takes" : "took a row libmdb refuses";
    if (!whole) return "";
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        const MdbField* field = cracker.Field(i);
        const MdbField& expected = all[static_cast<std::size_t>(wanted[i])];
        if (!field) return "no field for column " + std::to_string(wanted[i]);
        if (field->is_null != expected.is_null || field->start != expected.start || field->siz != expected.siz)
            return "another field for column " + std::to_string(wanted[i]);
    }
    return "";
}

TEST(MdbRowCracker, TakesRowsApartAsLibmdbDoesTheWholeTable) {
    TempPrefix dir;
    const std::string path = WriteTable(dir, 300);
    MdbDatabase::PrepareProcess();
    MdbDatabase db(path, 1 << 20);
    MdbDatabase::TablePtr table = db.OpenTable("T");
    MdbHandle* mdb = db.Handle();
    const std::vector<RowAt> rows = RowsOf(db, table.get());
    ASSERT_EQ(rows.size(), 300u);

    const std::vector<std::vector<int>> subsets = {
        {}, {1}, {0, 3}, {8, 6}, {5, 7}, {4, 4}, {0, 1, 2, 3, 4, 5, 6, 7, 8},
    };
    std::mt19937 random(99);
    QuietStandardError quiet;
    int refused = 0;
    int taken = 0;
    for (const std::vector<int>& wanted : subsets) {
        MdbRowCracker cracker(table.get(), wanted);
        for (const RowAt& row : rows) {
            ASSERT_EQ(mdb_read_pg(mdb, row.page), mdb->fmt->pg_size);
            EXPECT_EQ(Disagreement(table.get(), cracker, wanted, row), "") << "sound row at " << row.start;
            // Garbled: an entry of the row's offset table, its column count or its variable
            // column count gets another value, often one beyond the row.
            unsigned char saved[MDB_PGSIZE];
            std::memcpy(saved, mdb->pg_buf, sizeof saved);
            const unsigned rowEnd = static_cast<unsigned>(row.start) + static_cast<unsigned>(row.length) - 1;
            const unsigned nullMask = (static_cast<unsigned>(mdb_get_int16(mdb->pg_buf, row.start)) + 7) / 8;
            for (int trial = 0; trial < 6; ++trial) {
                const unsigned entry = static_cast<unsigned>(random() % 12);
                const unsigned at = trial == 5 ? static_cast<unsigned>(row.start) : rowEnd - nullMask - 1 - 2 * entry;
                const auto value =
                    static_cast<unsigned>(random() % 2 ? row.length + random() % 40 : random() % row.length);
                mdb->pg_buf[at] = static_cast<unsigned char>(value & 0xFF);
                mdb->pg_buf[at + 1] = static_cast<unsigned char>(value >> 8);
                const std::string disagreement = Disagreement(table.get(), cracker, wanted, row);
                EXPECT_EQ(disagreement, "") << "row at " << row.start << ", bytes at " << at << " set to " << value;
                std::vector<MdbField> all(table->num_cols + 1);
                (mdb_crack_row(table.get(), row.start, row.length, all.data()) > 0 ? taken : refused)++;
                std::memcpy(mdb->pg_buf, saved, sizeof saved);
            }
        }
    }
    EXPECT_GT(refused, 100) << "the garbled rows hardly ever reached a refusal";
    EXPECT_GT(taken, 100) << "the garbled rows were all refused";
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
