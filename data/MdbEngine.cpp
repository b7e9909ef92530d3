#include "data/MdbEngine.h"

#include "data/CDaoException.h"
#include "data/MdbChildProcess.h"
#include "data/MdbDatabase.h"
#include "data/MdbFileCheck.h"
#include "data/MdbMessages.h"
#include "data/MdbRowCursor.h"
#include "data/MdbTableWalker.h"
#include "data/RowBatchSender.h"

namespace {

// A text member takes any column as text; a long or flag member takes whole numbers of
// any width and Yes/No, as DAO binds them.
bool Accepts(FieldKind kind, int columnType) {
    if (kind == FieldKind::Text) return true;
    return columnType == MDB_BOOL || columnType == MDB_BYTE || columnType == MDB_INT || columnType == MDB_LONGINT;
}

// The reader process's work for OpenTable and ReadFirstValue. firstRowOnly: stop after the
// first row (and do not hold the walk against the announced row count).
int ReadTable(int fd, const std::string& path, const std::string& tableName, const std::vector<ColumnRequest>& columns,
              bool firstRowOnly, std::size_t valueBytes) {
    MdbDatabase::PrepareProcess();
    RowBatchSender sender(fd);
    unsigned long rows = 0;
    try {
        MdbDatabase db(path, valueBytes);
        MdbDatabase::TablePtr table = db.OpenTable(tableName);
        std::vector<int> wanted;
        if (firstRowOnly) {
            wanted.push_back(0);
        } else {
            for (const ColumnRequest& request : columns) {
                int index = MdbDatabase::FindColumn(table.get(), request.name);
                if (index < 0) throw MdbMessages::MissingColumn(path, tableName, request.name);
                auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, index));
                if (!Accepts(request.kind, column->col_type))
                    throw MdbMessages::WrongColumnType(path, tableName, request.name);
                if (request.fetched) wanted.push_back(index);
            }
        }
        const unsigned long announced = table->num_rows;
        sender.Opened(announced, wanted.size());
        MdbTableWalker walker(db, table.get(), tableName, wanted);
        rows = walker.Walk([&](const MdbTableWalker::Row& row) {
            if (!firstRowOnly && rows >= announced)
                throw MdbMessages::Damaged(path, "table [" + tableName + "] holds more rows than the " +
                                                     std::to_string(announced) + " its definition announces");
            sender.Add(row);
            ++rows;
            return !firstRowOnly;
        });
        if (!firstRowOnly && rows != announced)
            throw MdbMessages::Damaged(path, "table [" + tableName + "] announces " + std::to_string(announced) +
                                                 " rows but " + std::to_string(rows) + " can be read");
        sender.Finish(rows);
    } catch (const CDaoException& e) {
        sender.Fail(e);
    }
    return 0;
}

}  // namespace

void MdbEngine::OpenDatabase(const std::string& path) {
    MdbFileCheck::Check(path);
    auto child = std::make_unique<MdbChildProcess>(
        [&](int fd) {
            MdbDatabase::PrepareProcess();
            RowBatchSender sender(fd);
            try {
                MdbDatabase db(path, m_limits.valueBytes);
                sender.Opened(0, 0);
                sender.Finish(0);
            } catch (const CDaoException& e) {
                sender.Fail(e);
            }
            return 0;
        },
        m_limits.memoryBytes);
    MdbRowCursor cursor(std::move(child), path, m_limits.noProgressTimeout);
    std::vector<std::string> none;
    while (cursor.Next(none)) {}
}

std::unique_ptr<RowCursor> MdbEngine::OpenTable(const std::string& path, const std::string& table,
                                                const std::vector<ColumnRequest>& columns) {
    MdbFileCheck::Check(path);
    auto child = std::make_unique<MdbChildProcess>(
        [&](int fd) { return ReadTable(fd, path, table, columns, false, m_limits.valueBytes); }, m_limits.memoryBytes);
    return std::make_unique<MdbRowCursor>(std::move(child), path, m_limits.noProgressTimeout);
}

std::optional<std::string> MdbEngine::ReadFirstValue(const std::string& path, const std::string& table) {
    MdbFileCheck::Check(path);
    auto child = std::make_unique<MdbChildProcess>(
        [&](int fd) { return ReadTable(fd, path, table, {}, true, m_limits.valueBytes); }, m_limits.memoryBytes);
    MdbRowCursor cursor(std::move(child), path, m_limits.noProgressTimeout);
    std::vector<std::string> values;
    std::optional<std::string> first;
    if (cursor.Next(values) && !values.empty() && !cursor.WasNull(0)) first = values[0];
    while (cursor.Next(values)) {}
    return first;
}
