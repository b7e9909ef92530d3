#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tools/mdbwriter/JetTypes.h"
#include "tools/mdbwriter/LongValueWriter.h"
#include "tools/mdbwriter/PageFile.h"
#include "tools/mdbwriter/TableWriter.h"

namespace jet {

// Writes an Access 2000 (Jet 4) database file: tables are added with their columns, rows
// are streamed into them, and Close writes the table definitions, the system tables with
// the catalog (MSysObjects), the global usage map and the header. A writer that is
// destroyed without Close removes its unfinished file, so no half-written database is left
// behind.
//
//     jet::DatabaseWriter db("log.mdb");
//     auto& t = db.AddTable("VERSION", {jet::Column::Text("VER")});
//     t.AddRow({std::string("6")});
//     db.Close();
class DatabaseWriter {
public:
    explicit DatabaseWriter(const std::string& path);
    ~DatabaseWriter();
    DatabaseWriter(const DatabaseWriter&) = delete;
    DatabaseWriter& operator=(const DatabaseWriter&) = delete;

    // Throws WriteError for a bad or duplicate name (a system table's name among them) or
    // column list. The reference stays valid until the writer is destroyed.
    TableWriter& AddTable(const std::string& name, std::vector<Column> columns);
    void Close();

private:
    void WriteGlobalUsageMap();

    PageFile m_file;
    LongValueWriter m_longValues;
    std::vector<std::unique_ptr<TableWriter>> m_tables;
    bool m_closed = false;
};

}  // namespace jet
