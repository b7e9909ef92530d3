#pragma once

#include "cli/ExportFailure.h"
#include "cli/RunCounts.h"
#include "settings/RunSettings.h"
#include "ui/FailureWording.h"

#include <QString>

#include <functional>
#include <string>
#include <vector>

class QProcess;

// How a job of the exporter ended.
struct WorkerOutcome {
    enum class Kind { Succeeded, Failed, Stopped };
    Kind kind = Kind::Succeeded;
    // For Failed: what went wrong, as the exporter reported it or as its end showed.
    ExportFailure failure;
    // For Failed: the text for the operator, naming the file and what to do.
    std::string message;

    bool Succeeded() const { return kind == Kind::Succeeded; }
};

// Runs the headless exporter as a separate process for everything that reads the Access
// files, so that the database library never runs inside the desktop program. Every job is
// synchronous for the caller, but the event loop keeps running while the exporter works:
// the windows repaint and progress arrives as it is made. The exporter's length trace goes
// straight to this program's standard output, which it inherits.
class CExportWorker {
public:
    using ProgressHandler = std::function<void(const RunCounts&)>;

    explicit CExportWorker(QString program);
    ~CExportWorker();
    CExportWorker(const CExportWorker&) = delete;
    CExportWorker& operator=(const CExportWorker&) = delete;

    // The Wine prefix the exporter maps Windows paths through; empty leaves the environment's.
    void SetWinePrefix(const QString& root) { m_winePrefix = root; }

    // Opens the source database and checks its version; a refused version fails with the
    // kind VersionRefused.
    WorkerOutcome CheckSource(const std::string& sourcePath);
    // Opens the reference database's prefix table.
    WorkerOutcome CheckRefdata(const std::string& refdataPath);
    // One export run with the given run values; onProgress sees the counts as they come,
    // the final ones last.
    WorkerOutcome Run(const RunSettings& values, const ProgressHandler& onProgress);

    // Asks a running job to end; the exporter removes its temporary file and leaves any
    // earlier output untouched. The job's call then returns Stopped.
    void Stop();

private:
    WorkerOutcome Execute(const std::vector<std::string>& arguments, FailureWording wording,
                          const ProgressHandler* onProgress);
    // Waits, with the event loop running, until the process has ended.
    void WaitForEnd(QProcess& process);
    std::string SettingsFile() const;

    QString m_program;
    QString m_winePrefix;
    QProcess* m_process = nullptr;
    bool m_stopRequested = false;
};
