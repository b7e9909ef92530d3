#pragma once

#include <string>

class CExportWorker;

// The application's own connection to the source database. The exporter opens the file and
// reads its version table; this keeps the answer for the start-up that asked.
class CWorkerDatabase {
public:
    // Throws CDaoException with the operator's message when the file cannot be opened. A
    // version the program refuses leaves the database not accepted.
    void Open(CExportWorker& worker, const std::string& path);

    // Whether the version check passed: a version table holding 6 or more.
    bool VersionAccepted() const { return m_bVersionAccepted; }

private:
    bool m_bVersionAccepted = false;
};
