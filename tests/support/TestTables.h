#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "data/DbEngine.h"

// The two tables the export reads, as its recordsets bind them, written into Access files by
// our own writer: the export's tests read their contacts through the real reader, as a run
// does, rather than through a stand-in that could agree with the recordsets where the file
// would not.
struct TestColumn {
    std::string name;
    FieldKind kind = FieldKind::Text;
};
using TestRow = std::vector<std::optional<std::string>>;  // nullopt is NULL

// The 41 columns of "QSO-TAB" and the 12 of "PREFIX-Pri", in binding order.
std::vector<TestColumn> QsoTableColumns();
std::vector<TestColumn> PrefixTableColumns();

// A row of a table with these columns: the values given by column name, `others` in every
// other column. A name the columns lack throws std::invalid_argument, so that a misspelt
// one cannot leave its value out unnoticed.
TestRow NamedRow(const std::vector<TestColumn>& columns,
                 const std::vector<std::pair<std::string, std::optional<std::string>>>& values,
                 const std::optional<std::string>& others = std::nullopt);

// Writes path anew, holding the one table; Long and Yes/No columns take their text as a
// number, an empty one as NULL.
void WriteTestTable(const std::string& path, const std::string& table, const std::vector<TestColumn>& columns,
                    const std::vector<TestRow>& rows);
