#include "tools/mdbwriter/DatabaseWriter.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "tools/mdbwriter/HeaderPage.h"
#include "tools/mdbwriter/UsageMap.h"
#include "tools/mdbwriter/WriteError.h"

namespace jet {

namespace {
constexpr std::uint32_t kGlobalMapPage = 1;
constexpr std::int64_t kTableType = 1;
constexpr std::int64_t kSystemObjectFlags = static_cast<std::int64_t>(static_cast<std::int32_t>(0x80000000u));
constexpr std::int64_t kTablesContainerId = 0x0F000001;
constexpr char kCatalogName[] = "MSysObjects";

bool SameName(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

// The columns of the catalog, in the order Access gives them; the reader finds the
// tables through Id (the definition page), Name, Type and Flags.
std::vector<Column> CatalogColumns() {
    return {Column::Memo("Connect"),
            Column::Memo("Database"),
            Column::DateTime("DateCreate"),
            Column::DateTime("DateUpdate"),
            Column::Long("Flags"),
            Column::Text("ForeignName"),
            Column::Long("Id"),
            Column::Ole("Lv"),
            Column::Ole("LvExtra"),
            Column::Ole("LvModule"),
            Column::Ole("LvProp"),
            Column::Text("Name"),
            Column::Binary("Owner"),
            Column::Long("ParentId"),
            Column::Ole("RmtInfoLong"),
            Column::Binary("RmtInfoShort"),
            Column::Integer("Type")};
}

Row CatalogRow(const std::string& name, std::uint32_t definitionPage, bool system) {
    Row row(17);
    row[2] = kFixedDate;
    row[3] = kFixedDate;
    row[4] = system ? kSystemObjectFlags : std::int64_t{0};
    row[6] = std::int64_t{definitionPage};
    row[11] = name;
    row[13] = kTablesContainerId;
    row[16] = kTableType;
    return row;
}
}  // namespace

DatabaseWriter::DatabaseWriter(const std::string& path) : m_file(path), m_longValues(m_file) {
    for (std::uint32_t page = 0; page <= kCatalogPage; ++page) {
        m_file.Allocate();
    }
}

DatabaseWriter::~DatabaseWriter() {
    if (!m_closed) {
        std::remove(m_file.Path().c_str());
    }
}

TableWriter& DatabaseWriter::AddTable(const std::string& name, std::vector<Column> columns) {
    if (m_closed) {
        throw WriteError("cannot add table \"" + name + "\": " + m_file.Path() + " is already closed");
    }
    for (const auto& table : m_tables) {
        if (SameName(table->Name(), name)) {
            throw WriteError("table \"" + name + "\" already exists in " + m_file.Path());
        }
    }
    if (SameName(name, kCatalogName)) {
        throw WriteError("table name \"" + name + "\" is reserved for the catalog");
    }
    const std::uint32_t page = m_file.Allocate();
    m_tables.push_back(std::make_unique<TableWriter>(m_file, m_longValues, name, std::move(columns), page, false));
    return *m_tables.back();
}

void DatabaseWriter::WriteCatalog() {
    TableWriter catalog(m_file, m_longValues, kCatalogName, CatalogColumns(), kCatalogPage, true);
    catalog.AddRow(CatalogRow(kCatalogName, kCatalogPage, true));
    for (const auto& table : m_tables) {
        catalog.AddRow(CatalogRow(table->Name(), table->DefinitionPage(), false));
    }
    catalog.Finish();
}

void DatabaseWriter::WriteGlobalUsageMap() {
    std::vector<std::uint32_t> pages;
    for (std::uint32_t page = 0; page < std::min(m_file.PageCount(), UsageMap::kInlinePages); ++page) {
        pages.push_back(page);
    }
    DataPage map(0);
    map.Add(UsageMap::Build(pages, m_file));
    map.Add(UsageMap::None());
    m_file.Write(kGlobalMapPage, map.Bytes());
}

void DatabaseWriter::Close() {
    if (m_closed) {
        return;
    }
    for (const auto& table : m_tables) {
        table->Finish();
    }
    WriteCatalog();
    m_longValues.Flush();
    WriteGlobalUsageMap();
    m_file.Write(0, HeaderPage::Build());
    m_file.Close();
    m_closed = true;
}

}  // namespace jet
