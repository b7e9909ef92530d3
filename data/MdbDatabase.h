#pragma once

#include <memory>
#include <string>

#include "data/MdbLib.h"

// One libmdb handle on one file, with its table catalog read once. Runs only inside the
// reader process. Tables are opened from the catalog entries read here, never through
// mdb_read_table_by_name, which reads the catalog again and frees the entries that open
// tables still point to.
class MdbDatabase {
public:
    struct TableDefCloser {
        void operator()(MdbTableDef* table) const;
    };
    using TablePtr = std::unique_ptr<MdbTableDef, TableDefCloser>;

    // Sets the process up for libmdb: UTF-8 text, no settings taken from the
    // environment, the C locale for every conversion. Call once, before the first open.
    static void PrepareProcess();

    // Opens path and reads its catalog. Throws CDaoException (damaged) when libmdb cannot.
    MdbDatabase(const std::string& path, std::size_t bindSize);
    ~MdbDatabase();
    MdbDatabase(const MdbDatabase&) = delete;
    MdbDatabase& operator=(const MdbDatabase&) = delete;

    // Opens the table whose name equals name without regard to letter case, with its
    // columns read. Throws CDaoException naming the table and the file when it is missing.
    TablePtr OpenTable(const std::string& name);

    // Index into table->columns of the column called name (letter case ignored), or -1.
    static int FindColumn(MdbTableDef* table, const std::string& name);

    MdbHandle* Handle() const { return m_mdb; }
    const std::string& Path() const { return m_path; }

private:
    void ReadThroughPageStream();

    std::string m_path;
    MdbHandle* m_mdb = nullptr;
};
