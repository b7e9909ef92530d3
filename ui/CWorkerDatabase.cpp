#include "ui/CWorkerDatabase.h"

#include "data/CDaoException.h"
#include "ui/CExportWorker.h"

void CWorkerDatabase::Open(CExportWorker& worker, const std::string& path) {
    const WorkerOutcome outcome = worker.CheckSource(path);
    m_bVersionAccepted = outcome.Succeeded();
    if (outcome.Succeeded() || outcome.failure.kind == ExportFailure::Kind::VersionRefused) return;
    throw CDaoException(outcome.message);
}
