#include "data/MdbLongValue.h"

#include <cstdint>

namespace {

constexpr std::uint32_t kInline = 0x80000000u;
constexpr std::uint32_t kSinglePage = 0x40000000u;
// A chained value keeps its length in the low three bytes; the top byte is for flags.
constexpr std::uint32_t kFlags = 0xFF000000u;
constexpr int kOffsetMask = 0x1fff;
constexpr std::size_t kPointerSize = 4;

std::uint32_t U32At(std::string_view bytes, std::size_t at) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data()) + at;
    return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
           static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

}  // namespace

bool MdbLongValue::Gather(std::string_view field, std::size_t maxStored, std::string_view& stored) {
    if (field.size() < MDB_MEMO_OVERHEAD) throw Damage("a memo value is shorter than its header");
    const std::uint32_t header = U32At(field, 0);
    const std::uint32_t first = U32At(field, 4);
    if (header & kInline) {
        stored = field.substr(MDB_MEMO_OVERHEAD);
        return stored.size() <= maxStored;
    }
    if (header & kSinglePage) {
        stored = Row(first);
        return stored.size() <= maxStored;
    }
    if (header & kFlags) throw Damage("a memo value carries unknown flags in its length " + std::to_string(header));

    const std::size_t length = header;
    if (length > maxStored) return false;
    m_chained.clear();
    // Every link carries at least one byte and the total is bounded by the length, so a
    // chain that loops back on itself ends here as damage rather than going round.
    for (std::uint32_t next = first; m_chained.size() < length;) {
        if (next == 0)
            throw Damage("a memo value ends after " + std::to_string(m_chained.size()) + " of its " +
                         std::to_string(length) + " bytes");
        std::string_view row = Row(next);
        if (row.size() <= kPointerSize) throw Damage("a memo value has a link without data");
        next = U32At(row, 0);
        row.remove_prefix(kPointerSize);
        if (row.size() > length - m_chained.size())
            throw Damage("a memo value runs past its length of " + std::to_string(length) + " bytes");
        m_chained.append(row);
    }
    stored = m_chained;
    return true;
}

std::string_view MdbLongValue::Row(unsigned long pointer) {
    const unsigned long page = pointer >> 8;
    const unsigned long row = pointer & 0xFFu;
    auto damage = [&](const char* what) {
        return Damage("a memo value points to page " + std::to_string(page) + " row " + std::to_string(row) +
                      ", which " + what);
    };
    void* buffer = nullptr;
    int start = 0;
    std::size_t length = 0;
    if (page == 0 || mdb_find_pg_row(m_mdb, static_cast<int>(pointer), &buffer, &start, &length) != 0)
        throw damage("cannot be read");
    // mdb_find_pg_row does not say when the row is not on the page; its offsets then
    // come from wherever the row table would have been.
    auto* bytes = static_cast<unsigned char*>(buffer);
    const auto pageSize = static_cast<std::size_t>(m_mdb->fmt->pg_size);
    const auto rows = static_cast<unsigned long>(mdb_get_int16(bytes, m_mdb->fmt->row_count_offset));
    const auto offset = static_cast<std::size_t>(start & kOffsetMask);
    if (row >= rows || length == 0 || length > pageSize || offset + length > pageSize) throw damage("does not exist");
    return {reinterpret_cast<const char*>(bytes) + offset, length};
}
