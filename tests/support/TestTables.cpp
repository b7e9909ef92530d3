#include "tests/support/TestTables.h"

#include <algorithm>
#include <stdexcept>

#include "data/CDaoFieldExchange.h"
#include "data/CMorvaskSet.h"
#include "data/CmorvaskSet2.h"
#include "data/MdbEngine.h"
#include "tools/mdbwriter/DatabaseWriter.h"

namespace {

// The columns a recordset binds, in binding order, as its DoFieldExchange declares them.
template <typename Recordset>
std::vector<TestColumn> BoundColumns() {
    MdbEngine unused;
    Recordset recordset(unused, [] { return std::string(); });
    std::vector<ColumnRequest> requests;
    const std::vector<std::string> all;
    CDaoFieldExchange fx = CDaoFieldExchange::Describe(&requests, &all, nullptr);
    recordset.DoFieldExchange(&fx);
    std::vector<TestColumn> columns;
    for (const ColumnRequest& request : requests) columns.push_back({request.name, request.kind});
    return columns;
}

}  // namespace

std::vector<TestColumn> QsoTableColumns() { return BoundColumns<CmorvaskSet2>(); }

std::vector<TestColumn> PrefixTableColumns() { return BoundColumns<CMorvaskSet>(); }

TestRow NamedRow(const std::vector<TestColumn>& columns,
                 const std::vector<std::pair<std::string, std::optional<std::string>>>& values,
                 const std::optional<std::string>& others) {
    TestRow row(columns.size(), others);
    for (const auto& named : values) {
        auto it = std::find_if(columns.begin(), columns.end(), [&](const auto& c) { return c.name == named.first; });
        if (it == columns.end()) throw std::invalid_argument("no column [" + named.first + "] to put a value in");
        row[static_cast<std::size_t>(it - columns.begin())] = named.second;
    }
    return row;
}

void WriteTestTable(const std::string& path, const std::string& table, const std::vector<TestColumn>& columns,
                    const std::vector<TestRow>& rows) {
    std::vector<jet::Column> written;
    for (const TestColumn& column : columns)
        written.push_back(column.kind == FieldKind::Long   ? jet::Column::Long(column.name)
                          : column.kind == FieldKind::Bool ? jet::Column::Bool(column.name)
                                                           : jet::Column::Text(column.name));
    jet::DatabaseWriter db(path);
    auto& writer = db.AddTable(table, written);
    for (const TestRow& row : rows) {
        jet::Row values;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const std::optional<std::string>& value = row.at(i);
            if (!value || (value->empty() && columns[i].kind != FieldKind::Text))
                values.emplace_back();
            else if (columns[i].kind == FieldKind::Long)
                values.emplace_back(std::int64_t{std::stoll(*value)});
            else if (columns[i].kind == FieldKind::Bool)
                values.emplace_back(*value != "0");
            else
                values.emplace_back(*value);
        }
        writer.AddRow(values);
    }
    db.Close();
}
