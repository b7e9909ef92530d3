#include "data/MdbTableWalker.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <set>

#include "data/CDaoException.h"
#include "data/JetTextDecoder.h"
#include "data/MdbDatabase.h"
#include "data/MdbMessages.h"
#include "data/MdbUsageMap.h"

namespace {

constexpr int kDeletedRow = 0x8000;
constexpr int kMovedRow = 0x4000;
constexpr int kOffsetMask = 0x1fff;
// mdb_find_row refuses slot numbers above this.
constexpr unsigned kMaxSlots = 1000;
// The stored bytes of a memo whose UTF-8 could still be within the value limit: two bytes
// per character at most, and room for the switches of a compressed value.
constexpr std::size_t kStoredPerUtf8Byte = 4;

template <typename Int>
void IntegerText(Int number, std::string& out) {
    char text[24];
    auto [end, ec] = std::to_chars(text, text + sizeof text, number);
    out.assign(text, end);
}

}  // namespace

MdbTableWalker::MdbTableWalker(MdbDatabase& db, MdbTableDef* table, std::string tableName, std::vector<int> columns)
    : m_db(db),
      m_mdb(db.Handle()),
      m_table(table),
      m_tableName(std::move(tableName)),
      m_columns(std::move(columns)),
      m_fields(table->num_cols + 1),
      m_fieldOfColumn(table->num_cols, -1),
      m_longValue(m_mdb) {
    m_row.values.resize(m_columns.size());
    m_row.isNull.resize(m_columns.size());
}

void MdbTableWalker::Damaged(const std::string& why) const {
    throw MdbMessages::Damaged(m_db.Path(), why + " in table [" + m_tableName + "]");
}

unsigned long MdbTableWalker::Walk(const std::function<bool(const Row&)>& onRow) {
    const int rowCountOffset = m_mdb->fmt->row_count_offset;
    const auto pageSize = static_cast<std::size_t>(m_mdb->fmt->pg_size);
    const long tablePage = static_cast<long>(m_table->entry->table_pg);
    std::set<int> visited;
    unsigned long delivered = 0;

    MdbUsageMap::KeepInMemory(m_db, m_table, m_tableName);
    mdb_rewind_table(m_table);
    for (;;) {
        int page = mdb_read_next_dpg(m_table);
        if (page <= 0) break;
        // A damaged usage map can lead back to a page already read; without this the
        // walk would go round for ever.
        if (!visited.insert(page).second) Damaged("data page " + std::to_string(page) + " is listed twice");
        auto slots = static_cast<unsigned>(mdb_get_int16(m_mdb->pg_buf, rowCountOffset));
        if (slots > kMaxSlots || slots * 2 + static_cast<unsigned>(rowCountOffset) + 2 > pageSize)
            Damaged("data page " + std::to_string(page) + " claims " + std::to_string(slots) + " rows");
        for (unsigned slot = 0; slot < slots; ++slot) {
            int offset = mdb_get_int16(m_mdb->pg_buf, rowCountOffset + 2 + 2 * static_cast<int>(slot));
            if (offset & kDeletedRow) continue;
            int start = 0;
            std::size_t length = 0;
            if (mdb_find_row(m_mdb, static_cast<int>(slot), &start, &length) != 0 || length == 0)
                Damaged("row " + std::to_string(slot) + " of data page " + std::to_string(page) + " lies outside it");
            start &= kOffsetMask;
            if (offset & kMovedRow) {
                if (length < 4) Damaged("a moved row on data page " + std::to_string(page) + " has no forward address");
                auto pointer = static_cast<unsigned long>(mdb_get_int32(m_mdb->pg_buf, start));
                int targetSlot = static_cast<int>(pointer & 0xFFu);
                unsigned long targetPage = pointer >> 8;
                std::string where = "page " + std::to_string(targetPage) + " row " + std::to_string(targetSlot);
                if (mdb_read_pg(m_mdb, targetPage) != static_cast<ssize_t>(pageSize))
                    Damaged("a moved row points to " + where + ", which cannot be read");
                if (m_mdb->pg_buf[0] != MDB_PAGE_DATA || mdb_get_int32(m_mdb->pg_buf, 4) != tablePage)
                    Damaged("a moved row points to " + where + ", which belongs to no row of this table");
                auto targetSlots = static_cast<int>(mdb_get_int16(m_mdb->pg_buf, rowCountOffset));
                int targetOffset = 0;
                if (targetSlot >= targetSlots || mdb_find_row(m_mdb, targetSlot, &targetOffset, &length) != 0 ||
                    length == 0)
                    Damaged("a moved row points to " + where + ", which does not exist");
                if (targetOffset & kMovedRow) Damaged("a moved row points to " + where + ", which has moved again");
                CrackAndConvert(targetOffset & kOffsetMask, length);
                if (mdb_read_pg(m_mdb, static_cast<unsigned long>(page)) != static_cast<ssize_t>(pageSize))
                    Damaged("data page " + std::to_string(page) + " cannot be read again");
            } else {
                CrackAndConvert(start, length);
            }
            ++delivered;
            if (!onRow(m_row)) return delivered;
        }
    }
    return delivered;
}

void MdbTableWalker::CrackAndConvert(int start, std::size_t length) {
    int cracked = mdb_crack_row(m_table, start, length, m_fields.data());
    if (cracked <= 0) Damaged("a row at offset " + std::to_string(start) + " cannot be taken apart");
    std::fill(m_fieldOfColumn.begin(), m_fieldOfColumn.end(), -1);
    for (unsigned i = 0; i < m_table->num_cols; ++i) {
        int column = m_fields[i].colnum;
        if (column >= 0 && static_cast<unsigned>(column) < m_table->num_cols)
            m_fieldOfColumn[column] = static_cast<int>(i);
    }
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        int fieldIndex = m_fieldOfColumn[static_cast<std::size_t>(m_columns[i])];
        auto* column = static_cast<MdbColumn*>(g_ptr_array_index(m_table->columns, m_columns[i]));
        if (fieldIndex < 0) {
            m_row.values[i].clear();
            m_row.isNull[i] = 1;
            continue;
        }
        Convert(column, m_fields[static_cast<std::size_t>(fieldIndex)], m_row.values[i], m_row.isNull[i]);
    }
}

void MdbTableWalker::Convert(MdbColumn* column, const MdbField& field, std::string& value, char& isNull) {
    // Yes/No lives in the null mask: a set bit is Yes. DAO hands it over as -1 or 0.
    if (column->col_type == MDB_BOOL) {
        value = field.is_null ? "0" : "-1";
        isNull = 0;
        return;
    }
    isNull = field.is_null ? 1 : 0;
    if (field.is_null) {
        value.clear();
        return;
    }
    const auto pageSize = static_cast<int>(m_mdb->fmt->pg_size);
    if (field.start < 0 || field.siz < 0 || field.start + field.siz > pageSize)
        Damaged("a value of column [" + std::string(column->name) + "] lies outside its page");
    auto needs = [&](int bytes) {
        if (field.siz < bytes) Damaged("a value of column [" + std::string(column->name) + "] is cut short");
    };
    unsigned char* buf = m_mdb->pg_buf;
    char text[64];
    switch (column->col_type) {
    case MDB_BYTE:
        needs(1);
        IntegerText(static_cast<int>(buf[field.start]), value);
        return;
    case MDB_INT:
        needs(2);
        IntegerText(static_cast<int16_t>(mdb_get_int16(buf, field.start)), value);
        return;
    case MDB_LONGINT:
    case MDB_COMPLEX:
        needs(4);
        IntegerText(static_cast<int32_t>(mdb_get_int32(buf, field.start)), value);
        return;
    // As DAO turns a Single or Double into text: 7 or 15 significant digits.
    case MDB_FLOAT:
        needs(4);
        std::snprintf(text, sizeof text, "%.7g", static_cast<double>(mdb_get_single(buf, field.start)));
        value = text;
        return;
    case MDB_DOUBLE:
        needs(8);
        std::snprintf(text, sizeof text, "%.15g", mdb_get_double(buf, field.start));
        value = text;
        return;
    default:
        break;
    }
    if ((column->col_type == MDB_TEXT || column->col_type == MDB_MEMO) && !IS_JET3(m_mdb)) {
        DecodeText(column, field, value);
        return;
    }
    // libmdb allocates the bind size for every value it converts. An Access 97 text lives
    // on one page, and its UTF-8 takes at most twice its stored bytes, so a buffer of that
    // size holds it whole; only memos need the full limit.
    const std::size_t limit = m_mdb->bind_size;
    if (column->col_type == MDB_TEXT) m_mdb->bind_size = std::min(limit, 2 * static_cast<std::size_t>(field.siz) + 16);
    gchar* converted = column->col_type == MDB_NUMERIC
                           ? mdb_numeric_to_string(m_mdb, field.start, column->col_scale, column->col_prec)
                           : mdb_col_to_string(m_mdb, buf, field.start, column->col_type, field.siz);
    const std::size_t used = m_mdb->bind_size;
    m_mdb->bind_size = limit;
    value = converted ? converted : "";
    g_free(converted);
    // libmdb cuts text at the bind size without saying so; a value that reaches it may
    // have lost its end, and a cut value must not pass for the whole one.
    if ((column->col_type == MDB_TEXT || column->col_type == MDB_MEMO) && value.size() + 4 >= used) TooLong(column);
}

// Jet 4 text straight from the page to UTF-8, whole: no character is lost to a
// conversion that knows only the Basic Multilingual Plane, and nothing is cut.
void MdbTableWalker::DecodeText(MdbColumn* column, const MdbField& field, std::string& value) {
    const std::size_t limit = m_mdb->bind_size;
    std::string_view stored(reinterpret_cast<const char*>(m_mdb->pg_buf) + field.start,
                            static_cast<std::size_t>(field.siz));
    if (column->col_type == MDB_MEMO && !stored.empty()) {
        try {
            if (!m_longValue.Gather(stored, kStoredPerUtf8Byte * limit, stored)) TooLong(column);
        } catch (const MdbLongValue::Damage& e) {
            Damaged(std::string(e.what()) + " in column [" + column->name + "]");
        }
    }
    JetTextDecoder::Decode(stored, value);
    if (value.size() > limit) TooLong(column);
}

void MdbTableWalker::TooLong(MdbColumn* column) const {
    throw MdbMessages::ValueTooLong(m_db.Path(), m_tableName, column->name, m_mdb->bind_size);
}
