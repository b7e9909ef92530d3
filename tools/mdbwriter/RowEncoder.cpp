#include "tools/mdbwriter/RowEncoder.h"

#include <bit>
#include <string>

#include "tools/mdbwriter/JetText.h"
#include "tools/mdbwriter/WriteError.h"

namespace jet {

namespace {
constexpr std::size_t kCountSize = 2;

bool IsNull(const Value& value) { return std::holds_alternative<std::monostate>(value); }
}  // namespace

RowEncoder::RowEncoder(const TableLayout& layout, LongValueWriter& longValues)
    : m_layout(layout), m_longValues(longValues) {
    for (const auto& slot : layout.Slots()) {
        m_columnNames.push_back("column \"" + slot.column.name + "\" of table \"" + layout.TableName() + "\"");
    }
}

void RowEncoder::Unsuitable(const TableLayout::Slot& slot, const std::string& why) const {
    throw WriteError(m_columnNames[slot.number] + ": " + why);
}

void RowEncoder::PutFixed(std::vector<std::uint8_t>& out, const TableLayout::Slot& slot, const Value& value) const {
    const std::size_t at = kCountSize + slot.fixedOffset;
    switch (slot.column.type) {
    case ColumnType::Byte:
    case ColumnType::Integer:
    case ColumnType::Long: {
        const auto* number = std::get_if<std::int64_t>(&value);
        if (!number) {
            Unsuitable(slot, "an integer column takes a whole number");
        }
        static constexpr std::int64_t kLow[] = {0, -32768, -2147483648LL};
        static constexpr std::int64_t kHigh[] = {255, 32767, 2147483647LL};
        const int kind = slot.column.type == ColumnType::Byte ? 0 : slot.column.type == ColumnType::Integer ? 1 : 2;
        if (*number < kLow[kind] || *number > kHigh[kind]) {
            Unsuitable(slot, std::to_string(*number) + " is out of the column's range");
        }
        const auto bits = static_cast<std::uint32_t>(*number);
        for (std::size_t i = 0; i < slot.size; ++i) {
            out[at + i] = static_cast<std::uint8_t>((bits >> (8 * i)) & 0xFF);
        }
        break;
    }
    case ColumnType::Double:
    case ColumnType::DateTime: {
        const auto* number = std::get_if<double>(&value);
        if (!number) {
            Unsuitable(slot, "a Double or Date/Time column takes a double");
        }
        const auto bits = std::bit_cast<std::uint64_t>(*number);
        PutU32(out, at, static_cast<std::uint32_t>(bits & 0xFFFFFFFFu));
        PutU32(out, at + 4, static_cast<std::uint32_t>(bits >> 32));
        break;
    }
    default:
        break;
    }
}

std::vector<std::uint8_t> RowEncoder::VariableBytes(const TableLayout::Slot& slot, const Value& value) const {
    const auto* text = std::get_if<std::string>(&value);
    if (!text) {
        Unsuitable(slot, "a text, memo, binary or OLE column takes a string");
    }
    const std::string& what = m_columnNames[slot.number];
    switch (slot.column.type) {
    case ColumnType::Text: {
        const auto units = JetText::ToUtf16(*text, what);
        if (units.size() > static_cast<std::size_t>(slot.column.maxChars)) {
            Unsuitable(slot, "a text of " + std::to_string(units.size()) + " characters exceeds the size " +
                                 std::to_string(slot.column.maxChars));
        }
        return JetText::Encode(units, slot.column.compressedUnicode);
    }
    case ColumnType::Memo: {
        const auto units = JetText::ToUtf16(*text, what);
        const bool compressible = slot.column.compressedUnicode && units.size() <= JetText::kMaxCompressedMemoChars;
        return m_longValues.Store(JetText::Encode(units, compressible));
    }
    case ColumnType::Binary:
        if (text->size() > slot.size) {
            Unsuitable(slot, "a binary value holds at most 255 bytes");
        }
        return {text->begin(), text->end()};
    default:
        return m_longValues.Store({text->begin(), text->end()});
    }
}

std::vector<std::uint8_t> RowEncoder::Encode(const Row& row) const {
    const auto& slots = m_layout.Slots();
    if (row.size() != slots.size()) {
        throw WriteError("a row of table \"" + m_layout.TableName() + "\" has " + std::to_string(row.size()) +
                         " values for " + std::to_string(slots.size()) + " columns");
    }
    std::vector<std::uint8_t> out(kCountSize + m_layout.FixedSize(), 0);
    PutU16(out, 0, static_cast<std::uint32_t>(slots.size()));
    std::vector<std::uint8_t> nullMask(m_layout.NullMaskSize(), 0);
    std::vector<std::uint16_t> varOffsets;
    for (std::size_t i = 0; i < slots.size(); ++i) {
        const auto& slot = slots[i];
        const auto& value = row[i];
        bool present = !IsNull(value);
        if (slot.column.type == ColumnType::Bool) {
            // Yes/No lives in the null mask alone; Access has no NULL for it.
            const auto* flag = std::get_if<bool>(&value);
            if (present && !flag) {
                Unsuitable(slot, "a Yes/No column takes a bool");
            }
            present = flag && *flag;
        } else if (slot.fixed) {
            if (present) {
                PutFixed(out, slot, value);
            }
        } else {
            varOffsets.push_back(static_cast<std::uint16_t>(out.size()));
            if (present) {
                const auto bytes = VariableBytes(slot, value);
                out.insert(out.end(), bytes.begin(), bytes.end());
            }
        }
        if (present) {
            nullMask[slot.number / 8] =
                static_cast<std::uint8_t>(nullMask[slot.number / 8] | (1u << (slot.number % 8)));
        }
    }
    if (m_layout.VariableCount() > 0) {
        const std::size_t eod = out.size();
        out.resize(out.size() + 2);
        PutU16(out, eod, static_cast<std::uint32_t>(eod));
        for (auto it = varOffsets.rbegin(); it != varOffsets.rend(); ++it) {
            out.resize(out.size() + 2);
            PutU16(out, out.size() - 2, *it);
        }
        out.resize(out.size() + 2);
        PutU16(out, out.size() - 2, static_cast<std::uint32_t>(varOffsets.size()));
    }
    out.insert(out.end(), nullMask.begin(), nullMask.end());
    return out;
}

}  // namespace jet
