#pragma once

#include <string>

class CExportWorker;

// The desktop program's side of one of the two tables. The rows themselves are read by the
// exporter; what the form keeps here is whether the table has been opened for it, so that
// the form and the run open it when, and only when, it is closed.
class CWorkerRecordset {
public:
    enum class Table { QsoTable, PrefixTable };

    explicit CWorkerRecordset(Table table) : m_table(table) {}

    bool IsOpen() const { return m_bOpen; }

    // Has the exporter open the table in databasePath. Throws CDaoException with the
    // exporter's description when it cannot.
    void Open(CExportWorker& worker, const std::string& databasePath);
    // A run opens both tables in the exporter and closes them at its end; these record it.
    void MarkOpenedByRun() { m_bOpen = true; }
    void Close() { m_bOpen = false; }

private:
    Table m_table;
    bool m_bOpen = false;
};
