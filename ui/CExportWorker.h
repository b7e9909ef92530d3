#pragma once

#include "settings/RunSettings.h"
#include "ui/RunCounts.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <string>

class QProcess;
class CProgressPipe;

// How a job of the exporter ended.
struct WorkerOutcome {
    enum class Kind { Succeeded, Failed, Stopped };
    Kind kind = Kind::Succeeded;
    // For Failed: the text for the user, naming the file and what to do.
    std::string message;

    bool Succeeded() const { return kind == Kind::Succeeded; }
};

// Runs the headless exporter as a separate process for everything that reads the Access
// files, so that the database library never runs inside the desktop program. Every job is
// synchronous for the caller, but the event loop keeps running while the exporter works:
// the windows repaint and progress arrives as it is made.
class CExportWorker {
public:
    using ProgressHandler = std::function<void(const RunCounts&)>;

    explicit CExportWorker(QString program);
    ~CExportWorker();
    CExportWorker(const CExportWorker&) = delete;
    CExportWorker& operator=(const CExportWorker&) = delete;

    // The Wine prefix the exporter maps Windows paths through; empty leaves the environment's.
    void SetWinePrefix(const QString& root) { m_winePrefix = root; }

    // Opens the source database and checks its version. A refused version fails with
    // exactly the version error text.
    WorkerOutcome CheckSource(const std::string& sourcePath);
    // Opens the reference database's prefix table.
    WorkerOutcome CheckRefdata(const std::string& refdataPath);
    // One export run with the given run values; onProgress sees every counter change.
    WorkerOutcome Run(const RunSettings& values, const ProgressHandler& onProgress);

    // Asks a running job to end; the exporter removes its temporary file and leaves any
    // earlier output untouched. The job's call then returns Stopped.
    void Stop();

private:
    WorkerOutcome Execute(const QStringList& arguments, const QString& task, CProgressPipe* progress);
    void ForwardTrace(QProcess& process);

    QString m_program;
    QString m_winePrefix;
    QProcess* m_process = nullptr;
    bool m_stopRequested = false;
    std::string m_stdoutPartial;
};
