#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace jet {

// Column types as Jet 4 numbers them in a table definition.
enum class ColumnType : std::uint8_t {
    Bool = 0x01,
    Byte = 0x02,
    Integer = 0x03,
    Long = 0x04,
    Double = 0x07,
    DateTime = 0x08,
    Binary = 0x09,
    Text = 0x0A,
    Ole = 0x0B,
    Memo = 0x0C,
};

struct Column {
    std::string name;  // UTF-8; blanks and hyphens are fine, as Access allows them
    ColumnType type = ColumnType::Text;
    int maxChars = 255;  // Text only: the declared size, 1..255 characters
    // Access's "Unicode Compression" property of text and memo columns: on for the columns
    // Access creates, off for those of its system tables.
    bool compressedUnicode = true;

    static Column Text(std::string name, int maxChars = 255) { return {std::move(name), ColumnType::Text, maxChars}; }
    static Column Memo(std::string name) { return {std::move(name), ColumnType::Memo, 0}; }
    static Column Long(std::string name) { return {std::move(name), ColumnType::Long, 0}; }
    static Column Integer(std::string name) { return {std::move(name), ColumnType::Integer, 0}; }
    static Column Byte(std::string name) { return {std::move(name), ColumnType::Byte, 0}; }
    static Column Bool(std::string name) { return {std::move(name), ColumnType::Bool, 0}; }
    static Column Double(std::string name) { return {std::move(name), ColumnType::Double, 0}; }
    static Column DateTime(std::string name) { return {std::move(name), ColumnType::DateTime, 0}; }
    static Column Binary(std::string name) { return {std::move(name), ColumnType::Binary, 255}; }
    static Column Ole(std::string name) { return {std::move(name), ColumnType::Ole, 0}; }

    Column Uncompressed() const {
        Column column = *this;
        column.compressedUnicode = false;
        return column;
    }
};

// One column value; the empty alternative is NULL. Text and Memo take UTF-8, Binary and
// Ole raw bytes, the integer types a number in their range, Double and DateTime (days
// since 1899-12-30) a double, Bool a bool.
using Value = std::variant<std::monostate, std::string, std::int64_t, double, bool>;
using Row = std::vector<Value>;

// Access's "General" sort order, which the header gives the database and the table
// definitions give every text column.
inline constexpr std::uint16_t kGeneralSortOrder = 0x0409;
// The one date the writer stamps (file creation, catalog entries): 2007-01-01 in Access's
// days since 1899-12-30, fixed so that the same input gives the same file.
inline constexpr double kFixedDate = 39083.0;

// What became of a row after it was first written, as Access leaves it on the page:
// Deleted rows keep their bytes under a deleted flag; Moved rows grew when edited, so
// their data went to another page and their slot keeps only a pointer to it.
enum class RowMark { Kept, Deleted, Moved, MovedDeleted };

}  // namespace jet
