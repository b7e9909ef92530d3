#include "ui/CWorkerDatabase.h"

#include "data/CDaoException.h"
#include "ui/AppTexts.h"
#include "ui/CExportWorker.h"

void CWorkerDatabase::Open(CExportWorker& worker, const std::string& path) {
    const WorkerOutcome outcome = worker.CheckSource(path);
    if (outcome.Succeeded()) {
        m_bOpen = true;
        m_bVersionAccepted = true;
        return;
    }
    // The exporter reports a refused version with exactly the program's own message.
    if (outcome.kind == WorkerOutcome::Kind::Failed && outcome.message == AppTexts::kVersionError) {
        m_bOpen = true;
        m_bVersionAccepted = false;
        return;
    }
    if (outcome.message.empty())
        throw CDaoException("The source database \"" + path +
                            "\" could not be opened. Check the path in the run settings.");
    throw CDaoException(outcome.message);
}

void CWorkerDatabase::Close() {
    m_bOpen = false;
    m_bVersionAccepted = false;
}
