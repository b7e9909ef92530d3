#include "tools/mdbwriter/DatabaseWriter.h"

#include <cstdio>

#include "tools/mdbwriter/HeaderPage.h"
#include "tools/mdbwriter/SystemCatalog.h"
#include "tools/mdbwriter/UsageMap.h"
#include "tools/mdbwriter/WriteError.h"

namespace jet {

namespace {
constexpr std::uint32_t kGlobalMapPage = 1;
}  // namespace

DatabaseWriter::DatabaseWriter(const std::string& path) : m_file(path), m_longValues(m_file) {
    for (std::uint32_t page = 0; page < SystemCatalog::kFirstFreePage; ++page) {
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
        if (SameObjectName(table->Name(), name)) {
            throw WriteError("table \"" + name + "\" already exists in " + m_file.Path());
        }
    }
    if (SystemCatalog::IsSystemTableName(name)) {
        throw WriteError("table name \"" + name + "\" is reserved for one of Access's system tables");
    }
    const std::uint32_t page = m_file.Allocate();
    m_tables.push_back(std::make_unique<TableWriter>(m_file, m_longValues, name, std::move(columns), page, false));
    return *m_tables.back();
}

void DatabaseWriter::WriteGlobalUsageMap() {
    DataPage map(0);
    map.Add(UsageMap::FreeFrom(m_file.PageCount()));
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
    SystemCatalog::Write(m_file, m_longValues, m_tables);
    m_longValues.Flush();
    WriteGlobalUsageMap();
    m_file.Write(0, HeaderPage::Build());
    m_file.Close();
    m_closed = true;
}

}  // namespace jet
