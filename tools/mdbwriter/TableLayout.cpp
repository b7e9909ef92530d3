#include "tools/mdbwriter/TableLayout.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "tools/mdbwriter/JetText.h"
#include "tools/mdbwriter/WriteError.h"

namespace jet {

namespace {
constexpr std::size_t kMaxColumns = 255;
constexpr std::size_t kMaxNameChars = 64;

std::string Folded(const std::string& name) {
    std::string folded = name;
    std::transform(folded.begin(), folded.end(), folded.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return folded;
}

bool IsFixed(ColumnType type) {
    switch (type) {
    case ColumnType::Bool:
    case ColumnType::Byte:
    case ColumnType::Integer:
    case ColumnType::Long:
    case ColumnType::Double:
    case ColumnType::DateTime:
        return true;
    default:
        return false;
    }
}

std::uint16_t FixedWidth(ColumnType type) {
    switch (type) {
    case ColumnType::Byte:
        return 1;
    case ColumnType::Integer:
        return 2;
    case ColumnType::Long:
        return 4;
    case ColumnType::Double:
    case ColumnType::DateTime:
        return 8;
    default:
        return 0;
    }
}
}  // namespace

void CheckObjectName(const std::string& name, const std::string& what) {
    const auto units = JetText::ToUtf16(name, what);
    if (units.empty() || units.size() > kMaxNameChars || units.front() == u' ') {
        throw WriteError(what + " \"" + name +
                         "\" is not a valid name: use 1 to 64 characters, not starting with a blank");
    }
}

bool SameObjectName(const std::string& a, const std::string& b) { return Folded(a) == Folded(b); }

TableLayout::TableLayout(std::string tableName, std::vector<Column> columns) : m_tableName(std::move(tableName)) {
    CheckObjectName(m_tableName, "table");
    if (columns.empty() || columns.size() > kMaxColumns) {
        throw WriteError("table \"" + m_tableName + "\" needs 1 to 255 columns, not " + std::to_string(columns.size()));
    }
    std::set<std::string> seen;
    for (auto& column : columns) {
        const std::string what = "column of table \"" + m_tableName + "\"";
        CheckObjectName(column.name, what);
        if (!seen.insert(Folded(column.name)).second) {
            throw WriteError("table \"" + m_tableName + "\" has two columns named \"" + column.name +
                             "\"; Access tells names apart without regard to case");
        }
        Slot slot;
        slot.number = static_cast<std::uint16_t>(m_slots.size());
        slot.fixed = IsFixed(column.type);
        if (slot.fixed) {
            slot.fixedOffset = static_cast<std::uint16_t>(m_fixedSize);
            slot.varIndex = m_variableCount;
            slot.size = FixedWidth(column.type);
            m_fixedSize += slot.size;
        } else {
            slot.varIndex = m_variableCount++;
            if (column.type == ColumnType::Text) {
                if (column.maxChars < 1 || column.maxChars > 255) {
                    throw WriteError("text column \"" + column.name + "\" of table \"" + m_tableName +
                                     "\" must hold 1 to 255 characters, not " + std::to_string(column.maxChars));
                }
                slot.size = static_cast<std::uint16_t>(2 * column.maxChars);
            } else if (column.type == ColumnType::Binary) {
                slot.size = 255;
            }
        }
        slot.column = std::move(column);
        m_slots.push_back(std::move(slot));
    }
}

}  // namespace jet
