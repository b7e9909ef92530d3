#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/CDaoFieldExchange.h"
#include "data/DbEngine.h"

// A cursor over one table with the operations the program relies on: the open flag, Open,
// Close, IsEOF, IsBOF, MoveFirst, MoveNext, and the current row's values in the members
// that the subclass binds in DoFieldExchange. Failures throw CDaoException.
class CDaoRecordset {
public:
    explicit CDaoRecordset(DbEngine& engine);
    virtual ~CDaoRecordset();
    CDaoRecordset(const CDaoRecordset&) = delete;
    CDaoRecordset& operator=(const CDaoRecordset&) = delete;

    // The open flag: set by Open, cleared by Close.
    bool IsOpen() const { return m_bOpen; }
    // Opens the table that GetDefaultSQL names in the file that GetDefaultDBName names,
    // reading the file as it is now, and stands on the first row (if any).
    void Open();
    void Close();
    bool IsEOF() const { return m_bEOF; }
    bool IsBOF() const { return m_bBOF; }
    void MoveFirst();
    void MoveNext();

    // The number of rows that the table definition announces; valid while open.
    long GetTableRowCount() const;

    // Only these columns (names without brackets) are read; the others must exist all the
    // same. An empty list, the default, reads every bound column.
    void SetFetchedColumns(std::vector<std::string> names) { m_fetchedNames = std::move(names); }

    virtual std::string GetDefaultDBName() = 0;
    virtual std::string GetDefaultSQL() = 0;
    virtual void DoFieldExchange(CDaoFieldExchange* pFX) = 0;

protected:
    // Stream: rows are read once, front to back; MoveFirst away from the first row
    // re-reads the table. Keep: all rows are held after Open, so MoveFirst costs nothing
    // (for small tables that are scanned again and again).
    enum class Buffering { Stream, Keep };
    void SetBuffering(Buffering buffering) { m_buffering = buffering; }

    // Keep only: the rows held, and standing on one of them by index (index == count
    // stands past the end).
    std::size_t GetKeptRowCount() const { return m_kept.size(); }
    const std::vector<std::string>& GetKeptRow(std::size_t index) const { return m_kept.at(index); }
    void SetAbsolutePosition(std::size_t index);
    // The fetched values of a kept row, looked up by column name (without brackets).
    std::size_t FetchedIndexOf(const std::string& column) const;

    // Empties text members and zeroes numbers (after construction and after Close).
    void ClearMembers();

    // Called at the end of every successful Open, for subclasses that index their rows.
    virtual void OnOpened() {}

private:
    void OpenCursor();
    template <typename Value>
    void LoadCurrent(const std::vector<Value>& values);
    void ReadNext();

    DbEngine& m_engine;
    Buffering m_buffering = Buffering::Stream;
    std::vector<std::string> m_fetchedNames;
    std::vector<ColumnRequest> m_columns;
    // The members of the fetched columns, in the order the cursor delivers their values.
    std::vector<CDaoFieldExchange::Binding> m_members;
    std::unique_ptr<RowCursor> m_cursor;
    std::vector<std::vector<std::string>> m_kept;
    std::vector<std::string_view> m_row;
    std::size_t m_position = 0;
    long m_tableRows = 0;
    bool m_bOpen = false;
    bool m_bEOF = true;
    bool m_bBOF = true;
};
