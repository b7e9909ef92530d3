#include "tests/support/MemoryEngine.h"

#include <algorithm>
#include <stdexcept>

#include "data/CDaoException.h"
#include "data/CDaoFieldExchange.h"
#include "data/CMorvaskSet.h"
#include "data/CmorvaskSet2.h"
#include "data/MdbMessages.h"

namespace {

class MemoryCursor : public RowCursor {
public:
    MemoryCursor(std::vector<std::vector<std::string>> rows, long failAfter)
        : m_rows(std::move(rows)), m_failAfter(failAfter) {}

    bool Next(std::vector<std::string>& values) override {
        if (m_failAfter >= 0 && static_cast<long>(m_next) >= m_failAfter)
            throw CDaoException("The database is damaged (test failure after " + std::to_string(m_failAfter) +
                                " rows).");
        if (m_next >= m_rows.size()) return false;
        values = m_rows[m_next++];
        return true;
    }
    long RowCount() const override { return static_cast<long>(m_rows.size()); }

private:
    std::vector<std::vector<std::string>> m_rows;
    std::size_t m_next = 0;
    long m_failAfter;
};

// The columns a recordset binds, in binding order, as its DoFieldExchange declares them.
template <typename Recordset>
std::vector<MemoryEngine::Column> BoundColumns() {
    MemoryEngine unused;
    Recordset recordset(unused, [] { return std::string(); });
    std::vector<ColumnRequest> requests;
    const std::vector<std::string> all;
    CDaoFieldExchange fx = CDaoFieldExchange::Describe(&requests, &all, nullptr);
    recordset.DoFieldExchange(&fx);
    std::vector<MemoryEngine::Column> columns;
    for (const ColumnRequest& request : requests) columns.push_back({request.name, request.kind});
    return columns;
}

}  // namespace

MemoryEngine::Table& MemoryEngine::SetTable(const std::string& path, const std::string& table, Table contents) {
    return m_files[path].tables[table] = std::move(contents);
}

MemoryEngine::Table& MemoryEngine::GetTable(const std::string& path, const std::string& table) {
    return FindTable(path, table).second;
}

void MemoryEngine::FailAfter(const std::string& path, const std::string& table, long rows) {
    m_files[path].failAfter[table] = rows;
}

std::pair<const std::string, MemoryEngine::Table>& MemoryEngine::FindTable(const std::string& path,
                                                                           const std::string& table) {
    OpenDatabase(path);
    auto& tables = m_files.at(path).tables;
    if (const auto found = tables.find(table); found != tables.end()) return *found;
    throw MdbMessages::MissingTable(path, table);
}

void MemoryEngine::OpenDatabase(const std::string& path) {
    if (m_files.find(path) == m_files.end()) throw MdbMessages::NotFound(path);
}

std::unique_ptr<RowCursor> MemoryEngine::OpenTable(const std::string& path, const std::string& table,
                                                   const std::vector<ColumnRequest>& columns) {
    const auto& [name, contents] = FindTable(path, table);
    std::vector<std::size_t> picks;
    for (const ColumnRequest& request : columns) {
        auto it = std::find_if(contents.columns.begin(), contents.columns.end(),
                               [&](const Column& c) { return c.name == request.name; });
        if (it == contents.columns.end()) throw MdbMessages::MissingColumn(path, name, request.name);
        if (request.fetched) picks.push_back(static_cast<std::size_t>(it - contents.columns.begin()));
    }
    std::vector<std::vector<std::string>> rows;
    for (const auto& row : contents.rows) {
        std::vector<std::string> values;
        for (std::size_t pick : picks) values.push_back(pick < row.size() && row[pick] ? *row[pick] : std::string());
        rows.push_back(std::move(values));
    }
    const auto& fails = m_files.at(path).failAfter;
    auto fail = fails.find(name);
    return std::make_unique<MemoryCursor>(std::move(rows), fail == fails.end() ? -1 : fail->second);
}

std::optional<std::string> MemoryEngine::ReadFirstValue(const std::string& path, const std::string& table) {
    const auto& [name, contents] = FindTable(path, table);
    if (contents.rows.empty() || contents.rows.front().empty()) return std::nullopt;
    return contents.rows.front().front();
}

std::vector<MemoryEngine::Column> QsoTableColumns() { return BoundColumns<CmorvaskSet2>(); }

std::vector<MemoryEngine::Column> PrefixTableColumns() { return BoundColumns<CMorvaskSet>(); }

std::vector<std::optional<std::string>> NamedRow(
    const std::vector<MemoryEngine::Column>& columns,
    const std::vector<std::pair<std::string, std::optional<std::string>>>& values,
    const std::optional<std::string>& others) {
    std::vector<std::optional<std::string>> row(columns.size(), others);
    for (const auto& named : values) {
        auto it = std::find_if(columns.begin(), columns.end(), [&](const auto& c) { return c.name == named.first; });
        if (it == columns.end()) throw std::invalid_argument("no column [" + named.first + "] to put a value in");
        row[static_cast<std::size_t>(it - columns.begin())] = named.second;
    }
    return row;
}
