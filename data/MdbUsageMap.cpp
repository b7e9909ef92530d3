#include "data/MdbUsageMap.h"

#include <cstring>
#include <memory>
#include <vector>

#include "data/CDaoException.h"
#include "data/MdbDatabase.h"
#include "data/MdbMessages.h"

namespace {

constexpr unsigned char kInlineMap = 0;
constexpr unsigned char kPagedMap = 1;
// A type 0 map: its type, the page its first bit stands for, then the bitmap.
constexpr std::size_t kInlineHeader = 5;
// A bitmap page: its type and three bytes, then the bitmap.
constexpr std::size_t kBitmapOffset = 4;

}  // namespace

void MdbUsageMap::KeepInMemory(const MdbDatabase& db, MdbTableDef* table, const std::string& tableName) {
    if (!table->usage_map || table->map_sz < 1 || table->usage_map[0] != kPagedMap) return;
    MdbHandle* mdb = db.Handle();
    const auto pageSize = static_cast<std::size_t>(mdb->fmt->pg_size);
    const std::size_t bitmapBytes = pageSize - kBitmapOffset;

    // Entry i names the bitmap page for pages i * bits to (i + 1) * bits - 1, or 0 when
    // the table has none there; the map ends with the last entry that names one.
    std::vector<unsigned long> bitmapPages((table->map_sz - 1) / 4);
    std::size_t used = 0;
    for (std::size_t i = 0; i < bitmapPages.size(); ++i) {
        bitmapPages[i] = static_cast<unsigned long>(mdb_get_int32(table->usage_map, static_cast<int>(1 + 4 * i)));
        if (bitmapPages[i] != 0) used = i + 1;
    }

    const std::size_t size = kInlineHeader + used * bitmapBytes;
    // Allocated with GLib, as libmdb frees the definition's map with it.
    std::unique_ptr<unsigned char, decltype(&g_free)> map(static_cast<unsigned char*>(g_malloc0(size)), g_free);
    map.get()[0] = kInlineMap;  // and bytes 1 to 4: the first bit stands for page 0
    for (std::size_t i = 0; i < used; ++i) {
        if (bitmapPages[i] == 0) continue;
        auto damaged = [&](const char* what) {
            return MdbMessages::Damaged(db.Path(), "the page list of table [" + tableName + "] names page " +
                                                       std::to_string(bitmapPages[i]) + ", which " + what);
        };
        if (mdb_read_alt_pg(mdb, bitmapPages[i]) != static_cast<ssize_t>(pageSize)) throw damaged("cannot be read");
        if (mdb->alt_pg_buf[0] != MDB_PAGE_MAP) throw damaged("is no page list");
        std::memcpy(map.get() + kInlineHeader + i * bitmapBytes, mdb->alt_pg_buf + kBitmapOffset, bitmapBytes);
    }
    g_free(table->usage_map);
    table->usage_map = map.release();
    table->map_sz = size;
}
