#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/mdbwriter/JetTypes.h"

namespace jet {

// Where each column of a table lives in a row: fixed-size columns at an offset in the
// fixed area, the others at an index of the variable-offset table. Yes/No columns take
// no room at all; their value is their bit in the null mask.
class TableLayout {
public:
    struct Slot {
        Column column;
        std::uint16_t number = 0;  // position in the table, also the null-mask bit
        bool fixed = false;
        std::uint16_t fixedOffset = 0;  // fixed columns: offset in the fixed area
        std::uint16_t varIndex = 0;     // variable columns: index in the offset table
        std::uint16_t size = 0;         // stored size: fixed width, or text bytes (2 per character)
    };

    // Checks the names and sizes and lays the columns out; throws WriteError naming the
    // table and the column at fault.
    TableLayout(std::string tableName, std::vector<Column> columns);

    const std::string& TableName() const { return m_tableName; }
    const std::vector<Slot>& Slots() const { return m_slots; }
    std::size_t FixedSize() const { return m_fixedSize; }
    std::uint16_t VariableCount() const { return m_variableCount; }
    std::size_t NullMaskSize() const { return (m_slots.size() + 7) / 8; }

private:
    std::string m_tableName;
    std::vector<Slot> m_slots;
    std::size_t m_fixedSize = 0;
    std::uint16_t m_variableCount = 0;
};

// Names as Access accepts them: 1 to 64 characters, not starting with a blank.
void CheckObjectName(const std::string& name, const std::string& what);
// Whether two names stand for one object: Access tells names apart without regard to case.
bool SameObjectName(const std::string& a, const std::string& b);

}  // namespace jet
