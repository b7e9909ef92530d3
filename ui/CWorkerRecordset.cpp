#include "ui/CWorkerRecordset.h"

#include "data/CDaoException.h"
#include "ui/CExportWorker.h"

void CWorkerRecordset::Open(CExportWorker& worker, const std::string& databasePath) {
    const WorkerOutcome outcome =
        m_table == Table::PrefixTable ? worker.CheckRefdata(databasePath) : worker.CheckSource(databasePath);
    if (!outcome.Succeeded()) throw CDaoException(outcome.message);
    MarkOpenedByRun();
}
