#include "data/MdbDatabase.h"

#include <fcntl.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>

#include "data/CDaoException.h"
#include "data/MdbMessages.h"
#include "data/PageStream.h"

namespace {

// Jet compares object names without regard to case, in full Unicode.
bool SameName(const char* a, const std::string& b) {
    gchar* left = g_utf8_casefold(a, -1);
    gchar* right = g_utf8_casefold(b.c_str(), static_cast<gssize>(b.size()));
    bool same = g_strcmp0(left, right) == 0;
    g_free(left);
    g_free(right);
    return same;
}

}  // namespace

void MdbDatabase::TableDefCloser::operator()(MdbTableDef* table) const {
    if (table) mdb_free_tabledef(table);
}

void MdbDatabase::PrepareProcess() {
    ::setenv("MDBICONV", "UTF-8", 1);
    ::unsetenv("MDBPATH");
    ::unsetenv("MDBOPTS");
    ::unsetenv("MDB_JET3_CHARSET");
    // The desktop program runs under the user's locale; libmdb formats numbers and dates
    // with printf and strftime, which must not see a decimal comma.
    locale_t c = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    if (c != static_cast<locale_t>(nullptr)) ::uselocale(c);
}

MdbDatabase::MdbDatabase(const std::string& path, std::size_t bindSize) : m_path(path) {
    m_mdb = mdb_open(path.c_str(), MDB_NOFLAGS);
    if (!m_mdb) throw MdbMessages::Damaged(path, "its first page cannot be read");
    ReadThroughPageStream();
    mdb_set_bind_size(m_mdb, bindSize);
    mdb_set_date_fmt(m_mdb, "%m/%d/%Y %H:%M:%S");
    if (!mdb_read_catalog(m_mdb, MDB_TABLE)) throw MdbMessages::Damaged(path, "its list of tables cannot be read");
}

// The same open file, read through a PageStream from now on; where one cannot be made,
// libmdb keeps its own stream.
void MdbDatabase::ReadThroughPageStream() {
    FILE*& stream = m_mdb->f->stream;
    const int fd = stream ? ::fcntl(::fileno(stream), F_DUPFD_CLOEXEC, 0) : -1;
    if (fd < 0) return;
    FILE* pages = PageStream::Open(fd, static_cast<std::size_t>(m_mdb->fmt->pg_size));
    if (!pages) {
        ::close(fd);
        return;
    }
    std::fclose(stream);
    stream = pages;
}

MdbDatabase::~MdbDatabase() {
    if (m_mdb) mdb_close(m_mdb);
}

MdbDatabase::TablePtr MdbDatabase::OpenTable(const std::string& name) {
    GPtrArray* catalog = m_mdb->catalog;
    for (guint i = 0; catalog && i < catalog->len; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(catalog, i));
        if (entry->object_type != MDB_TABLE || !SameName(entry->object_name, name)) continue;
        TablePtr table(mdb_read_table(entry));
        if (!table) throw MdbMessages::Damaged(m_path, "the definition of table [" + name + "] cannot be read");
        if (!mdb_read_columns(table.get()) || table->num_cols == 0 || table->num_cols > MDB_MAX_COLS)
            throw MdbMessages::Damaged(m_path, "the columns of table [" + name + "] cannot be read");
        return table;
    }
    throw MdbMessages::MissingTable(m_path, name);
}

int MdbDatabase::FindColumn(MdbTableDef* table, const std::string& name) {
    for (guint i = 0; i < table->columns->len; ++i) {
        auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        if (SameName(column->name, name)) return static_cast<int>(i);
    }
    return -1;
}
