#pragma once

#include <string>

class CExportWorker;

// The desktop program's side of the reference prefix table, the form's recordset. Its rows
// are read by the exporter; what the form keeps here is whether the table is open, so that
// the form's initial update opens it when, and only when, a run has closed it.
class CWorkerRecordset {
public:
    bool IsOpen() const { return m_bOpen; }

    // Has the exporter open the prefix table of the reference database at refdataPath.
    // Throws CDaoException with the operator's message when it cannot.
    void Open(CExportWorker& worker, const std::string& refdataPath);
    // A run opens the table in the exporter and closes it at its end.
    void Close() { m_bOpen = false; }

private:
    bool m_bOpen = false;
};
