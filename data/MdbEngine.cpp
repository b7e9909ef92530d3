#include "data/MdbEngine.h"

#include <unistd.h>

#include "data/CDaoException.h"
#include "data/MdbChildProcess.h"
#include "data/MdbDatabase.h"
#include "data/MdbFileCheck.h"
#include "data/MdbMessages.h"
#include "data/MdbRowCursor.h"
#include "data/MdbTableWalker.h"
#include "data/RowFrameCodec.h"

namespace {

using FrameType = RowFrameCodec::FrameType;

// Rows travel in batches of about this many bytes: few system calls, little waiting.
constexpr std::size_t kBatchBytes = 256 * 1024;
using Clock = std::chrono::steady_clock;
constexpr std::chrono::seconds kMaxHold{1};

bool Accepts(FieldKind kind, int columnType) {
    if (kind == FieldKind::Text) return true;
    return columnType == MDB_BOOL || columnType == MDB_BYTE || columnType == MDB_INT || columnType == MDB_LONGINT;
}

void SendOpened(int fd, unsigned long rows, std::size_t values) {
    std::string payload;
    RowFrameCodec::PutU32(payload, static_cast<uint32_t>(rows));
    RowFrameCodec::PutU32(payload, static_cast<uint32_t>(values));
    std::string frame;
    RowFrameCodec::PutFrame(frame, FrameType::Opened, payload);
    if (!MdbChildProcess::WriteAll(fd, frame)) ::_exit(0);
}

// Collects rows into Rows frames and sends each when it is full.
class BatchSender {
public:
    explicit BatchSender(int fd) : m_fd(fd) { m_out.reserve(kBatchBytes + 64 * 1024); }

    void Add(const MdbTableWalker::Row& row) {
        if (m_rows == 0) {
            m_start = RowFrameCodec::BeginFrame(m_out, FrameType::Rows);
            RowFrameCodec::PutU32(m_out, 0);
        }
        for (std::size_t i = 0; i < row.values.size(); ++i) {
            if (row.isNull[i])
                RowFrameCodec::PutNull(m_out);
            else
                RowFrameCodec::PutValue(m_out, row.values[i]);
        }
        ++m_rows;
        // A slow disk must not look like a hung reader: send what there is at least
        // once a second.
        if (m_out.size() >= kBatchBytes || (m_rows % 64 == 0 && Clock::now() - m_lastSend > kMaxHold)) Flush();
    }

    void Flush() {
        if (m_rows > 0) {
            std::string count;
            RowFrameCodec::PutU32(count, m_rows);
            m_out.replace(m_start + RowFrameCodec::kHeaderSize, 4, count);
            RowFrameCodec::EndFrame(m_out, m_start);
            m_rows = 0;
        }
        Send();
    }

    void Finish(unsigned long rows, const std::string& error) {
        Flush();
        if (error.empty()) {
            std::string payload;
            RowFrameCodec::PutU32(payload, static_cast<uint32_t>(rows));
            RowFrameCodec::PutFrame(m_out, FrameType::Done, payload);
        } else {
            RowFrameCodec::PutFrame(m_out, FrameType::Error, error);
        }
        Send();
    }

private:
    void Send() {
        m_lastSend = Clock::now();
        // The parent has gone (its cursor was closed early): nothing left to do.
        if (!m_out.empty() && !MdbChildProcess::WriteAll(m_fd, m_out)) ::_exit(0);
        m_out.clear();
    }

    int m_fd;
    std::string m_out;
    std::size_t m_start = 0;
    uint32_t m_rows = 0;
    Clock::time_point m_lastSend = Clock::now();
};

// The reader process's work for OpenTable and ReadFirstValue. firstRowOnly: stop after the
// first row (and do not hold the walk against the announced row count).
int ReadTable(int fd, const std::string& path, const std::string& tableName, const std::vector<ColumnRequest>& columns,
              bool firstRowOnly, std::size_t valueBytes) {
    MdbDatabase::PrepareProcess();
    BatchSender sender(fd);
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
                if (index < 0) throw CDaoException(MdbMessages::MissingColumn(path, tableName, request.name));
                auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, index));
                if (!Accepts(request.kind, column->col_type))
                    throw CDaoException(MdbMessages::WrongColumnType(path, tableName, request.name));
                if (request.fetched) wanted.push_back(index);
            }
        }
        const unsigned long announced = table->num_rows;
        SendOpened(fd, announced, wanted.size());
        MdbTableWalker walker(db, table.get(), tableName, wanted);
        rows = walker.Walk([&](const MdbTableWalker::Row& row) {
            if (!firstRowOnly && rows >= announced)
                throw CDaoException(MdbMessages::Damaged(
                    path, "table [" + tableName + "] holds more rows than the " + std::to_string(announced) +
                              " its definition announces"));
            sender.Add(row);
            ++rows;
            return !firstRowOnly;
        });
        if (!firstRowOnly && rows != announced)
            throw CDaoException(MdbMessages::Damaged(path, "table [" + tableName + "] announces " +
                                                               std::to_string(announced) + " rows but " +
                                                               std::to_string(rows) + " can be read"));
        sender.Finish(rows, "");
    } catch (const CDaoException& e) {
        sender.Finish(rows, e.Description());
    }
    return 0;
}

}  // namespace

void MdbEngine::OpenDatabase(const std::string& path) {
    MdbFileCheck::Check(path);
    auto child = std::make_unique<MdbChildProcess>(
        [&](int fd) {
            MdbDatabase::PrepareProcess();
            BatchSender sender(fd);
            try {
                MdbDatabase db(path, m_limits.valueBytes);
                SendOpened(fd, 0, 0);
                sender.Finish(0, "");
            } catch (const CDaoException& e) {
                sender.Finish(0, e.Description());
            }
            return 0;
        },
        m_limits.memoryBytes);
    MdbRowCursor cursor(std::move(child), path, m_limits.noProgressTimeout);
    std::vector<std::string> none;
    while (cursor.Next(none)) {
    }
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
    while (cursor.Next(values)) {
    }
    return first;
}
