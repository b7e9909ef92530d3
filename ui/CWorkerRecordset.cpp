#include "ui/CWorkerRecordset.h"

#include "data/CDaoException.h"
#include "ui/CExportWorker.h"

void CWorkerRecordset::Open(CExportWorker& worker, const std::string& refdataPath) {
    const WorkerOutcome outcome = worker.CheckRefdata(refdataPath);
    if (!outcome.Succeeded()) throw CDaoException(outcome.message);
    m_bOpen = true;
}
