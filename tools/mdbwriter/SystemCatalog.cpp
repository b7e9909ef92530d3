#include "tools/mdbwriter/SystemCatalog.h"

#include <algorithm>

#include "tools/mdbwriter/JetText.h"
#include "tools/mdbwriter/PageBytes.h"
#include "tools/mdbwriter/TableLayout.h"

namespace jet {

namespace {

// Object ids of the catalog's own objects; tables have their definition page as id.
constexpr std::int64_t kRootId = 0x0F000000;
constexpr std::int64_t kTablesId = 0x0F000001;
constexpr std::int64_t kDatabasesId = 0x0F000002;
constexpr std::int64_t kRelationshipsId = 0x0F000003;
constexpr std::int64_t kDatabaseObjectId = 0x10000000;

constexpr std::int64_t kTableType = 1;
constexpr std::int64_t kDatabaseType = 2;
constexpr std::int64_t kContainerType = 3;
constexpr std::int64_t kSystemObjectFlags = static_cast<std::int32_t>(0x80000000u);

// Owners are Jet security ids: Access records the engine's for the containers and its
// system tables, the default user's for the database object and the user's tables.
const std::string kEngineOwner("\xA7\x31", 2);
const std::string kUserOwner("\xA6\x33", 2);

// The catalog's columns in Access's order; a row is filled by these positions.
enum CatalogColumn : std::size_t {
    kId,
    kParentId,
    kName,
    kType,
    kDateCreate,
    kDateUpdate,
    kOwner,
    kFlags,
    kDatabase,
    kConnect,
    kForeignName,
    kRmtInfoShort,
    kRmtInfoLong,
    kLv,
    kLvProp,
    kLvModule,
    kLvExtra,
    kCatalogColumns
};

struct SystemTable {
    const char* name;
    std::uint32_t page;
    std::vector<Column> columns;
};

// Access keeps the text of its system tables without Unicode compression.
std::vector<Column> Uncompressed(std::vector<Column> columns) {
    for (auto& column : columns) {
        column = column.Uncompressed();
    }
    return columns;
}

const std::vector<SystemTable>& SystemTables() {
    static const std::vector<SystemTable> tables = {
        {"MSysObjects", SystemCatalog::kCatalogPage,
         Uncompressed({Column::Long("Id"), Column::Long("ParentId"), Column::Text("Name"), Column::Integer("Type"),
                       Column::DateTime("DateCreate"), Column::DateTime("DateUpdate"), Column::Binary("Owner"),
                       Column::Long("Flags"), Column::Memo("Database"), Column::Memo("Connect"),
                       Column::Text("ForeignName"), Column::Binary("RmtInfoShort"), Column::Ole("RmtInfoLong"),
                       Column::Ole("Lv"), Column::Ole("LvProp"), Column::Ole("LvModule"), Column::Ole("LvExtra")})},
        {"MSysACEs", 3,
         Uncompressed(
             {Column::Long("ObjectId"), Column::Binary("SID"), Column::Long("ACM"), Column::Bool("FInheritable")})},
        {"MSysQueries", 4,
         Uncompressed({Column::Long("ObjectId"), Column::Byte("Attribute"), Column::Binary("Order"),
                       Column::Text("Name1"), Column::Text("Name2"), Column::Memo("Expression"),
                       Column::Integer("Flag"), Column::Long("LvExtra")})},
        {"MSysRelationships", 5,
         Uncompressed({Column::Text("szRelationship"), Column::Long("grbit"), Column::Long("ccolumn"),
                       Column::Long("icolumn"), Column::Text("szObject"), Column::Text("szColumn"),
                       Column::Text("szReferencedObject"), Column::Text("szReferencedColumn")})},
    };
    return tables;
}

Row CatalogRow(std::int64_t id, std::int64_t parentId, const std::string& name, std::int64_t type, std::int64_t flags,
               const std::string& owner) {
    Row row(kCatalogColumns);
    row[kId] = id;
    row[kParentId] = parentId;
    row[kName] = name;
    row[kType] = type;
    row[kDateCreate] = kFixedDate;
    row[kDateUpdate] = kFixedDate;
    row[kOwner] = owner;
    row[kFlags] = flags;
    return row;
}

void AppendU16(std::string& out, std::size_t value) {
    out.resize(out.size() + 2);
    PutU16(out, out.size() - 2, static_cast<std::uint32_t>(value));
}

void AppendU32(std::string& out, std::size_t value) {
    out.resize(out.size() + 4);
    PutU32(out, out.size() - 4, static_cast<std::uint32_t>(value));
}

void AppendUcs2(std::string& out, const std::string& text) {
    const auto bytes = JetText::Ucs2(text, "property");
    out.append(bytes.begin(), bytes.end());
}

// The properties of the database as MSysDb keeps them in LvProp: the mark "MR2\0", a
// block of property names, then the block of the database's own values (under an empty
// object name). The one property is the Access version that made the file, which readers
// take to tell an Access 2000 file from a 2002-2003 one.
std::string DatabaseProperties() {
    static constexpr std::uint16_t kNamesBlock = 0x80;
    static constexpr std::uint16_t kValuesBlock = 0x00;
    static constexpr std::uint8_t kTextProperty = 0x0A;
    const std::string name = "AccessVersion";
    const std::string value = "08.50";

    std::string names;
    AppendU16(names, 2 * name.size());
    AppendUcs2(names, name);

    std::string values;
    AppendU32(values, 6);  // the object name's part: its own length, then an empty name
    AppendU16(values, 0);
    AppendU16(values, 8 + 2 * value.size());
    values.push_back(0);  // no DDL flag: a property Access sets itself
    values.push_back(static_cast<char>(kTextProperty));
    AppendU16(values, 0);  // the index of its name
    AppendU16(values, 2 * value.size());
    AppendUcs2(values, value);

    std::string block("MR2\0", 4);
    AppendU32(block, 6 + names.size());
    AppendU16(block, kNamesBlock);
    block += names;
    AppendU32(block, 6 + values.size());
    AppendU16(block, kValuesBlock);
    block += values;
    return block;
}

}  // namespace

bool SystemCatalog::IsSystemTableName(const std::string& name) {
    return std::any_of(SystemTables().begin(), SystemTables().end(),
                       [&name](const SystemTable& table) { return SameObjectName(table.name, name); });
}

void SystemCatalog::Write(PageFile& file, LongValueWriter& longValues,
                          const std::vector<std::unique_ptr<TableWriter>>& userTables) {
    std::vector<std::unique_ptr<TableWriter>> systemTables;
    for (const auto& table : SystemTables()) {
        systemTables.push_back(
            std::make_unique<TableWriter>(file, longValues, table.name, table.columns, table.page, true));
    }
    TableWriter& catalog = *systemTables.front();
    catalog.AddRow(CatalogRow(kTablesId, kRootId, "Tables", kContainerType, kSystemObjectFlags, kEngineOwner));
    catalog.AddRow(CatalogRow(kDatabasesId, kRootId, "Databases", kContainerType, kSystemObjectFlags, kEngineOwner));
    catalog.AddRow(
        CatalogRow(kRelationshipsId, kRootId, "Relationships", kContainerType, kSystemObjectFlags, kEngineOwner));
    Row database = CatalogRow(kDatabaseObjectId, kDatabasesId, "MSysDb", kDatabaseType, kSystemObjectFlags, kUserOwner);
    database[kLvProp] = DatabaseProperties();
    catalog.AddRow(database);
    for (const auto& table : SystemTables()) {
        catalog.AddRow(CatalogRow(table.page, kTablesId, table.name, kTableType, kSystemObjectFlags, kEngineOwner));
    }
    for (const auto& table : userTables) {
        catalog.AddRow(CatalogRow(table->DefinitionPage(), kTablesId, table->Name(), kTableType, 0, kUserOwner));
    }
    for (const auto& table : systemTables) {
        table->Finish();
    }
}

}  // namespace jet
