#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "data/DbEngine.h"

// An in-memory stand-in for the Access reader: tables of text values keyed by file path
// and table name, named exactly as the recordsets ask for them; a missing file, table or
// column gives the reader's own error text. Tests change the tables between opens to see
// that every open reads the "file" as it is then.
class MemoryEngine : public DbEngine {
public:
    struct Column {
        std::string name;
        FieldKind kind = FieldKind::Text;
    };
    struct Table {
        std::vector<Column> columns;
        std::vector<std::vector<std::optional<std::string>>> rows;  // nullopt is NULL
    };

    // Adds or replaces a table; the file then counts as an existing database.
    Table& SetTable(const std::string& path, const std::string& table, Table contents);
    Table& GetTable(const std::string& path, const std::string& table);
    // Makes the next Next() of every cursor opened afterwards on this table throw after
    // `rows` rows, as a damaged file would.
    void FailAfter(const std::string& path, const std::string& table, long rows);

    void OpenDatabase(const std::string& path) override;
    std::unique_ptr<RowCursor> OpenTable(const std::string& path, const std::string& table,
                                         const std::vector<ColumnRequest>& columns) override;
    std::optional<std::string> ReadFirstValue(const std::string& path, const std::string& table) override;

private:
    struct File {
        std::map<std::string, Table> tables;  // keyed by the name as given
        std::map<std::string, long> failAfter;
    };
    std::pair<const std::string, Table>& FindTable(const std::string& path, const std::string& table);

    std::map<std::string, File> m_files;
};

// The 41 columns of "QSO-TAB" and the 12 of "PREFIX-Pri", as the recordsets bind them.
std::vector<MemoryEngine::Column> QsoTableColumns();
std::vector<MemoryEngine::Column> PrefixTableColumns();

// A row of a table with these columns: the values given by column name, `others` in every
// other column. A name the columns lack throws std::invalid_argument, so that a misspelt
// one cannot leave its value out unnoticed.
std::vector<std::optional<std::string>> NamedRow(
    const std::vector<MemoryEngine::Column>& columns,
    const std::vector<std::pair<std::string, std::optional<std::string>>>& values,
    const std::optional<std::string>& others = std::nullopt);
