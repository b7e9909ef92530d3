#include "tools/mdbwriter/TableDefinitionPage.h"

#include <string>
#include <vector>

#include "tools/mdbwriter/JetText.h"
#include "tools/mdbwriter/WriteError.h"

namespace jet {

namespace {
constexpr std::size_t kRowCountAt = 16;
constexpr std::size_t kTableTypeAt = 40;
constexpr std::size_t kColumnsAt = 63;
constexpr std::size_t kDescriptorSize = 25;
constexpr std::uint8_t kUserTable = 0x4E;
constexpr std::uint8_t kSystemTable = 0x53;
constexpr std::uint8_t kFixedFlag = 0x01;
constexpr std::uint8_t kNullableFlag = 0x02;
constexpr std::uint8_t kCompressedUnicode = 0x01;
}  // namespace

Page TableDefinitionPage::Build(const TableLayout& layout, const Facts& facts) {
    Page page{};
    page[0] = 0x02;
    page[1] = 0x01;
    PutU32(page, kRowCountAt, facts.rowCount);
    page[24] = 0x01;  // autonumbers enabled, as Access sets it for every table
    page[kTableTypeAt] = facts.system ? kSystemTable : kUserTable;
    const auto columns = static_cast<std::uint32_t>(layout.Slots().size());
    PutU16(page, 41, columns);  // most columns a row has had
    PutU16(page, 43, layout.VariableCount());
    PutU16(page, 45, columns);
    PutU32(page, 47, 0);  // logical indexes
    PutU32(page, 51, 0);  // index entries
    PutU32(page, 55, facts.usedPagesMap);
    PutU32(page, 59, facts.freePagesMap);

    std::vector<std::uint8_t> body;
    for (const auto& slot : layout.Slots()) {
        std::vector<std::uint8_t> d(kDescriptorSize, 0);
        d[0] = static_cast<std::uint8_t>(slot.column.type);
        PutU16(d, 5, slot.number);
        PutU16(d, 7, slot.varIndex);
        PutU16(d, 9, slot.number);
        const bool text = slot.column.type == ColumnType::Text || slot.column.type == ColumnType::Memo;
        if (text) {
            PutU16(d, 11, kGeneralSortOrder);
        }
        d[15] = static_cast<std::uint8_t>(kNullableFlag | (slot.fixed ? kFixedFlag : 0));
        d[16] = text && slot.column.compressedUnicode ? kCompressedUnicode : 0;
        PutU16(d, 21, slot.fixedOffset);
        PutU16(d, 23, slot.size);
        body.insert(body.end(), d.begin(), d.end());
    }
    for (const auto& slot : layout.Slots()) {
        const auto name = JetText::Ucs2(slot.column.name, "column name");
        body.push_back(static_cast<std::uint8_t>(name.size() & 0xFF));
        body.push_back(static_cast<std::uint8_t>(name.size() >> 8));
        body.insert(body.end(), name.begin(), name.end());
    }
    // The list of per-column long-value maps is empty: just its end mark.
    body.push_back(0xFF);
    body.push_back(0xFF);

    const std::size_t length = kColumnsAt + body.size();
    if (length > kPageSize) {
        throw WriteError("the definition of table \"" + layout.TableName() + "\" takes " + std::to_string(length) +
                         " bytes, more than one page; use fewer or shorter column names");
    }
    std::copy(body.begin(), body.end(), page.begin() + kColumnsAt);
    PutU32(page, 8, static_cast<std::uint32_t>(length));
    PutU16(page, 2, static_cast<std::uint32_t>(kPageSize - length - 8));
    return page;
}

}  // namespace jet
