#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/mdbwriter/JetTypes.h"
#include "tools/mdbwriter/LongValueWriter.h"
#include "tools/mdbwriter/TableLayout.h"

namespace jet {

// Turns a row of values into the bytes of a Jet 4 row: the column count, the fixed-size
// columns, the variable-size data, then (only when the table has variable columns) the
// end-of-data offset, the variable offsets last to first and their count, and finally
// the null mask, one bit per column, set when the value is present.
class RowEncoder {
public:
    RowEncoder(const TableLayout& layout, LongValueWriter& longValues);

    // Throws WriteError when a value does not suit its column, naming table and column.
    std::vector<std::uint8_t> Encode(const Row& row) const;

private:
    std::vector<std::uint8_t> VariableBytes(const TableLayout::Slot& slot, const Value& value) const;
    void PutFixed(std::vector<std::uint8_t>& out, const TableLayout::Slot& slot, const Value& value) const;
    [[noreturn]] void Unsuitable(const TableLayout::Slot& slot, const std::string& why) const;

    const TableLayout& m_layout;
    LongValueWriter& m_longValues;
    // "column "X" of table "T"" for each column, made once for the error texts.
    std::vector<std::string> m_columnNames;
};

}  // namespace jet
