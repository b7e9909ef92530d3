#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// How a recordset member takes a column's value: text takes any column type as text
// (numbers in the C locale), long takes integer columns of any width and Yes/No as -1/0,
// bool takes Yes/No. NULL reads as "" or 0.
enum class FieldKind { Text, Long, Bool };

struct ColumnRequest {
    std::string name;  // the column's name, without brackets; found without regard to case
    FieldKind kind = FieldKind::Text;
    bool fetched = true;  // false: the column must exist, but its values are not read
};

// A forward cursor over the rows of one table, in the order Access presents them.
class RowCursor {
public:
    virtual ~RowCursor() = default;
    // Fills values with the next row's fetched columns, in request order, each as text
    // (Long and Bool columns as decimal text, Yes/No as "-1" or "0", NULL as "").
    // Returns false past the last row. Throws CDaoException when the file turns out damaged.
    virtual bool Next(std::vector<std::string>& values) = 0;
    // The same, each value lent rather than copied: valid until the next call. A cursor
    // that holds the bytes anyway lends its own; this one lends copies.
    virtual bool NextViews(std::vector<std::string_view>& values) {
        if (!Next(m_lent)) return false;
        values.assign(m_lent.begin(), m_lent.end());
        return true;
    }
    // The number of rows that the table definition announces.
    virtual long RowCount() const = 0;

private:
    std::vector<std::string> m_lent;
};

// The reading side of the database layer. Every call reads the file as it is at that moment.
class DbEngine {
public:
    virtual ~DbEngine() = default;

    // Checks that path names an Access database that can be read. Throws CDaoException.
    virtual void OpenDatabase(const std::string& path) = 0;

    // Opens table (its name found without regard to letter case, as Jet finds it). Every
    // requested column must exist; a missing table or column throws CDaoException naming
    // the table, the column and the file.
    virtual std::unique_ptr<RowCursor> OpenTable(const std::string& path, const std::string& table,
                                                 const std::vector<ColumnRequest>& columns) = 0;

    // The first column of the first row of table, in table order, as text (numbers as their
    // decimal text). nullopt when the table has no rows or the value is NULL. Throws
    // CDaoException when the table is missing or the file cannot be read.
    virtual std::optional<std::string> ReadFirstValue(const std::string& path, const std::string& table) = 0;
};
