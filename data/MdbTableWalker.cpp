#include "data/MdbTableWalker.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
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
std::string_view IntegerText(Int number, std::string& out) {
    char text[24];
    auto [end, ec] = std::to_chars(text, text + sizeof text, number);
    out.assign(text, end);
    return out;
}

}  // namespace

MdbTableWalker::MdbTableWalker(MdbDatabase& db, MdbTableDef* table, std::string tableName, std::vector<int> columns)
    : m_db(db),
      m_mdb(db.Handle()),
      m_table(table),
      m_tableName(std::move(tableName)),
      m_columns(std::move(columns)),
      m_cracker(table),
      m_longValue(m_mdb),
      m_text(m_columns.size()),
      m_walkPage(static_cast<std::size_t>(m_mdb->fmt->pg_size)) {
    m_row.values.resize(m_columns.size());
    m_row.isNull.resize(m_columns.size());
}

void MdbTableWalker::Damaged(const std::string& why) const {
    throw MdbMessages::Damaged(m_db.Path(), why + " in table [" + m_tableName + "]");
}

unsigned long MdbTableWalker::Walk(const std::function<bool(const Row&)>& onRow) {
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
        const unsigned slots = SlotCount(page);
        for (unsigned slot = 0; slot < slots; ++slot) {
            if (!ReadSlot(page, slot)) continue;
            ++delivered;
            if (!onRow(m_row)) return delivered;
        }
    }
    return delivered;
}

unsigned MdbTableWalker::SlotCount(int page) const {
    const int rowCountOffset = m_mdb->fmt->row_count_offset;
    const auto slots = static_cast<unsigned>(mdb_get_int16(m_mdb->pg_buf, rowCountOffset));
    if (slots > kMaxSlots || slots * 2 + static_cast<unsigned>(rowCountOffset) + 2 > PageSize())
        Damaged("data page " + std::to_string(page) + " claims " + std::to_string(slots) + " rows");
    return slots;
}

bool MdbTableWalker::ReadSlot(int page, unsigned slot) {
    const int rowCountOffset = m_mdb->fmt->row_count_offset;
    const int offset = mdb_get_int16(m_mdb->pg_buf, rowCountOffset + 2 + 2 * static_cast<int>(slot));
    if (offset & kDeletedRow) return false;
    int start = 0;
    std::size_t length = 0;
    if (mdb_find_row(m_mdb, static_cast<int>(slot), &start, &length) != 0 || length == 0)
        Damaged("row " + std::to_string(slot) + " of data page " + std::to_string(page) + " lies outside it");
    start &= kOffsetMask;
    if (offset & kMovedRow)
        ReadMovedRow(page, start, length);
    else
        CrackAndConvert(start, length);
    return true;
}

void MdbTableWalker::ReadMovedRow(int page, int start, std::size_t length) {
    const std::size_t pageSize = PageSize();
    if (length < 4) Damaged("a moved row on data page " + std::to_string(page) + " has no forward address");
    const auto pointer = static_cast<unsigned long>(mdb_get_int32(m_mdb->pg_buf, start));
    const int targetSlot = static_cast<int>(pointer & 0xFFu);
    const unsigned long targetPage = pointer >> 8;
    auto pointsTo = [&](const char* what) {
        return "a moved row points to page " + std::to_string(targetPage) + " row " + std::to_string(targetSlot) +
               ", which " + what;
    };
    // The walk's page is kept aside rather than read again after the target.
    std::memcpy(m_walkPage.data(), m_mdb->pg_buf, pageSize);
    if (mdb_read_pg(m_mdb, targetPage) != static_cast<ssize_t>(pageSize)) Damaged(pointsTo("cannot be read"));
    if (m_mdb->pg_buf[0] != MDB_PAGE_DATA ||
        mdb_get_int32(m_mdb->pg_buf, 4) != static_cast<long>(m_table->entry->table_pg))
        Damaged(pointsTo("belongs to no row of this table"));
    const auto targetSlots = static_cast<int>(mdb_get_int16(m_mdb->pg_buf, m_mdb->fmt->row_count_offset));
    int targetOffset = 0;
    if (targetSlot >= targetSlots || mdb_find_row(m_mdb, targetSlot, &targetOffset, &length) != 0 || length == 0)
        Damaged(pointsTo("does not exist"));
    if (targetOffset & kMovedRow) Damaged(pointsTo("has moved again"));
    CrackAndConvert(targetOffset & kOffsetMask, length);
    KeepValues();
    // As after reading it again: libmdb takes cur_pg for the page its buffer holds.
    std::memcpy(m_mdb->pg_buf, m_walkPage.data(), pageSize);
    m_mdb->cur_pg = static_cast<guint32>(page);
    m_mdb->cur_pos = 0;
}

void MdbTableWalker::CrackAndConvert(int start, std::size_t length) {
    if (!m_cracker.Crack(start, length)) Damaged("a row at offset " + std::to_string(start) + " cannot be taken apart");
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        const MdbField* field = m_cracker.Field(m_columns[i]);
        if (!field) {
            m_row.values[i] = {};
            m_row.isNull[i] = 1;
            continue;
        }
        Convert(static_cast<MdbColumn*>(g_ptr_array_index(m_table->columns, m_columns[i])), *field, i);
    }
}

void MdbTableWalker::KeepValues() {
    for (std::size_t i = 0; i < m_row.values.size(); ++i) {
        if (m_row.values[i].data() == m_text[i].data()) continue;
        m_text[i].assign(m_row.values[i]);
        m_row.values[i] = m_text[i];
    }
}

void MdbTableWalker::Convert(MdbColumn* column, const MdbField& field, std::size_t i) {
    std::string_view& value = m_row.values[i];
    // Yes/No lives in the null mask: a set bit is Yes. DAO hands it over as -1 or 0.
    if (column->col_type == MDB_BOOL) {
        value = field.is_null ? "0" : "-1";
        m_row.isNull[i] = 0;
        return;
    }
    m_row.isNull[i] = field.is_null ? 1 : 0;
    if (field.is_null) {
        value = {};
        return;
    }
    if (field.start < 0 || field.siz < 0 || field.start + field.siz > m_mdb->fmt->pg_size)
        DamagedValue(column, "lies outside its page");
    // Most values are texts of Access 2000 and later: decoded here, all others below.
    if (column->col_type == MDB_TEXT && !IS_JET3(m_mdb)) {
        value = JetTextDecoder::Utf8Of(StoredBytes(field), m_text[i]);
        if (value.size() > m_mdb->bind_size) TooLong(column);
        return;
    }
    value = ConvertOther(column, field, m_text[i]);
}

std::string_view MdbTableWalker::ConvertOther(MdbColumn* column, const MdbField& field, std::string& text) {
    auto needs = [&](int bytes) {
        if (field.siz < bytes) DamagedValue(column, "is cut short");
    };
    unsigned char* buf = m_mdb->pg_buf;
    char number[64];
    switch (column->col_type) {
    case MDB_BYTE:
        needs(1);
        return IntegerText(static_cast<int>(buf[field.start]), text);
    case MDB_INT:
        needs(2);
        return IntegerText(static_cast<int16_t>(mdb_get_int16(buf, field.start)), text);
    case MDB_LONGINT:
    case MDB_COMPLEX:
        needs(4);
        return IntegerText(static_cast<int32_t>(mdb_get_int32(buf, field.start)), text);
    // As DAO turns a Single or Double into text: 7 or 15 significant digits.
    case MDB_FLOAT:
        needs(4);
        std::snprintf(number, sizeof number, "%.7g", static_cast<double>(mdb_get_single(buf, field.start)));
        text = number;
        return text;
    case MDB_DOUBLE:
        needs(8);
        std::snprintf(number, sizeof number, "%.15g", mdb_get_double(buf, field.start));
        text = number;
        return text;
    default:
        break;
    }
    if (column->col_type == MDB_MEMO && !IS_JET3(m_mdb)) return DecodeMemo(column, field, text);
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
    text = converted ? converted : "";
    g_free(converted);
    // libmdb cuts text at the bind size without saying so; a value that reaches it may
    // have lost its end, and a cut value must not pass for the whole one.
    if ((column->col_type == MDB_TEXT || column->col_type == MDB_MEMO) && text.size() + 4 >= used) TooLong(column);
    return text;
}

// A Jet 4 memo gathered from its pages and turned into UTF-8 as a text is, whole: no
// character is lost to a conversion that knows only the Basic Multilingual Plane, and
// nothing is cut.
std::string_view MdbTableWalker::DecodeMemo(MdbColumn* column, const MdbField& field, std::string& scratch) {
    const std::size_t limit = m_mdb->bind_size;
    std::string_view stored = StoredBytes(field);
    if (stored.empty()) return stored;
    try {
        if (!m_longValue.Gather(stored, kStoredPerUtf8Byte * limit, stored)) TooLong(column);
    } catch (const MdbLongValue::Damage& e) {
        Damaged(std::string(e.what()) + " in column [" + column->name + "]");
    }
    std::string_view value = JetTextDecoder::Utf8Of(stored, scratch);
    if (value.size() > limit) TooLong(column);
    // A gathered memo lies in a buffer that the next memo of the row reuses.
    if (value.data() != scratch.data()) {
        scratch.assign(value);
        value = scratch;
    }
    return value;
}

std::string_view MdbTableWalker::StoredBytes(const MdbField& field) const {
    return {reinterpret_cast<const char*>(m_mdb->pg_buf) + field.start, static_cast<std::size_t>(field.siz)};
}

void MdbTableWalker::DamagedValue(MdbColumn* column, const char* what) const {
    Damaged("a value of column [" + std::string(column->name) + "] " + what);
}

void MdbTableWalker::TooLong(MdbColumn* column) const {
    throw MdbMessages::ValueTooLong(m_db.Path(), m_tableName, column->name, m_mdb->bind_size);
}
