#include "ui/CExportWorker.h"

#include "cli/ExporterCommandLine.h"
#include "cli/ProgressRecord.h"
#include "settings/IniReaders.h"
#include "settings/PrefixSearch.h"
#include "settings/QtText.h"
#include "settings/WinePrefix.h"
#include "ui/CProgressPipe.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTimer>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>
#include <cstdio>
#include <memory>
#include <optional>
#include <stdexcept>

namespace {

using Contract = ExporterCommandLine;

// How long a stopped exporter may take to remove its temporary file and end.
constexpr int kStopGraceMs = 5000;

WorkerOutcome Failure(ExportFailure failure, std::string message) {
    return WorkerOutcome{WorkerOutcome::Kind::Failed, std::move(failure), std::move(message)};
}

}  // namespace

CExportWorker::CExportWorker(QString program) : m_program(std::move(program)) {}

CExportWorker::~CExportWorker() { Stop(); }

WorkerOutcome CExportWorker::CheckSource(const std::string& sourcePath) {
    RunSettings shown;
    shown.m_strSourcePath = sourcePath;
    return Execute(Contract::CheckSource(sourcePath), FailureWording(FailureWording::Job::OpenSource, shown), nullptr);
}

WorkerOutcome CExportWorker::CheckRefdata(const std::string& refdataPath) {
    RunSettings shown;
    shown.m_strRefdataPath = refdataPath;
    return Execute(Contract::CheckRefdata(refdataPath), FailureWording(FailureWording::Job::OpenReference, shown),
                   nullptr);
}

WorkerOutcome CExportWorker::Run(const RunSettings& values, const ProgressHandler& onProgress) {
    return Execute(Contract::Run(values), FailureWording(FailureWording::Job::MakeAdiFile, values), &onProgress);
}

std::string CExportWorker::SettingsFile() const {
    return SettingsFilePath(m_winePrefix.isEmpty() ? PrefixSearch::FromEnvironment().prefix
                                                   : WinePrefix(m_winePrefix.toStdString()));
}

void CExportWorker::Stop() {
    if (m_process) {
        m_stopRequested = true;
        m_process->terminate();
        // An exporter that does not end on request is not allowed to hold the window open.
        QTimer::singleShot(kStopGraceMs, m_process, &QProcess::kill);
    }
}

WorkerOutcome CExportWorker::Execute(const std::vector<std::string>& arguments, FailureWording wording,
                                     const ProgressHandler* onProgress) {
    // Checked here because a program that is not there would otherwise only show up as an
    // anonymous start failure.
    const QFileInfo program(m_program);
    if (!program.exists())
        return Failure({ExportFailure::Kind::Other, std::nullopt, "the program file is missing"},
                       wording.ProgramMissing(m_program.toStdString()));

    std::optional<ExportFailure> reported;
    std::unique_ptr<CProgressPipe> channel;
    try {
        channel = std::make_unique<CProgressPipe>([&](const std::string& line) {
            const std::optional<ProgressRecord> record = ProgressRecord::Parse(line);
            if (!record) return;
            if (record->type == ProgressRecord::Type::Failure)
                reported = record->failure;
            else if (onProgress)
                (*onProgress)(record->counts);
        });
    } catch (const std::runtime_error& error) {
        return Failure({ExportFailure::Kind::Other, std::nullopt, error.what()}, wording.NoResources(error.what()));
    }

    QStringList args;
    for (const std::string& argument : arguments) args.append(Q(argument));
    QProcess process;
    process.setProgram(m_program);
    process.setArguments(args);
    // The length trace reaches our standard output as the exporter writes it; its standard
    // error, worded for scripts, is kept for the record of a failure it did not report.
    process.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    process.setInputChannelMode(QProcess::ManagedInputChannel);
    if (!m_winePrefix.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("WINEPREFIX"), m_winePrefix);
        process.setProcessEnvironment(environment);
    }
    const int writeFd = channel->WriteEnd();
    // Runs in the child between fork and exec: only async-signal-safe calls.
    process.setChildProcessModifier([writeFd] {
        if (writeFd == Contract::kProgressDescriptor)
            ::fcntl(writeFd, F_SETFD, 0);
        else
            ::dup2(writeFd, Contract::kProgressDescriptor);
    });

    m_stopRequested = false;
    m_process = &process;
    process.start();
    process.closeWriteChannel();
    channel->CloseWriteEnd();
    WaitForEnd(process);
    m_process = nullptr;
    channel->Drain();

    if (process.error() == QProcess::FailedToStart)
        return Failure({ExportFailure::Kind::Other, std::nullopt, process.errorString().toStdString()},
                       wording.ProgramNotStarted(m_program.toStdString(), process.errorString().toStdString()));
    if (m_stopRequested) return WorkerOutcome{WorkerOutcome::Kind::Stopped, {}, {}};
    if (reported) {
        if (reported->subject == RunFiles::Role::SettingsFile) wording.SetSettingsFile(SettingsFile());
        return Failure(*reported, wording.Message(*reported));
    }
    // Qt leaves the exit code of a process that died of a signal undefined. The exporter tells
    // every signal that ends it and can be caught, so one that it did not tell is SIGKILL.
    const bool signalled = process.exitStatus() == QProcess::CrashExit;
    if (!signalled && process.exitCode() == Contract::kExitDone) return WorkerOutcome{};

    // Ended without saying why: what it said for scripts may help whoever looks into it.
    const QByteArray said = process.readAllStandardError();
    std::fwrite(said.constData(), 1, static_cast<std::size_t>(said.size()), stderr);
    const ExportFailure failure = ExportFailure::FromProcessEnd(signalled, signalled ? SIGKILL : process.exitCode());
    return Failure(failure, wording.Message(failure));
}

void CExportWorker::WaitForEnd(QProcess& process) {
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&loop, &process](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart || process.state() == QProcess::NotRunning) loop.quit();
    });
    while (process.state() != QProcess::NotRunning) {
        // A negative result means the application is quitting and no event loop runs any
        // more: end the job and wait for it here instead.
        if (loop.exec() < 0) {
            process.terminate();
            if (!process.waitForFinished(kStopGraceMs)) {
                process.kill();
                process.waitForFinished(-1);
            }
        }
    }
}
