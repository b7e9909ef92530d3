#include "ui/CExportWorker.h"

#include "ui/CProgressPipe.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace {

// The descriptor on which the exporter writes its progress lines.
constexpr int kProgressFd = 3;
// How long a stopped exporter may take to remove its temporary file and end.
constexpr int kStopGraceMs = 5000;

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The exporter's reason is its first line; a refusal adds a pointer to --help, which is of
// no use to the operator of the desktop program.
std::string FirstLine(const QByteArray& bytes) {
    std::string text = bytes.toStdString();
    text.erase(0, text.find_first_not_of("\r\n"));
    if (const std::size_t end = text.find('\n'); end != std::string::npos) text.erase(end);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    return text;
}

WorkerOutcome Failure(const QString& message) {
    return WorkerOutcome{WorkerOutcome::Kind::Failed, message.toStdString()};
}

}  // namespace

CExportWorker::CExportWorker(QString program) : m_program(std::move(program)) {}

CExportWorker::~CExportWorker() { Stop(); }

WorkerOutcome CExportWorker::CheckSource(const std::string& sourcePath) {
    return Execute({QStringLiteral("--check-source"), QStringLiteral("--source"), Q(sourcePath)},
                   QStringLiteral("opening the source database \"%1\"").arg(Q(sourcePath)), nullptr);
}

WorkerOutcome CExportWorker::CheckRefdata(const std::string& refdataPath) {
    return Execute({QStringLiteral("--check-refdata"), QStringLiteral("--refdata"), Q(refdataPath)},
                   QStringLiteral("opening the reference database \"%1\"").arg(Q(refdataPath)), nullptr);
}

WorkerOutcome CExportWorker::Run(const RunSettings& values, const ProgressHandler& onProgress) {
    std::unique_ptr<CProgressPipe> pipe;
    try {
        pipe = std::make_unique<CProgressPipe>([&onProgress](const std::string& line) {
            if (const auto counts = ParseProgressLine(line)) onProgress(*counts);
        });
    } catch (const std::runtime_error& error) {
        return Failure(QString::fromUtf8(error.what()));
    }
    const QStringList arguments{
        QStringLiteral("--source"),      Q(values.m_strSourcePath),    QStringLiteral("--refdata"),
        Q(values.m_strRefdataPath),      QStringLiteral("--output"),   Q(values.m_strAdiPath),
        QStringLiteral("--oprcall"),     Q(values.m_strOprCall),       QStringLiteral("--start"),
        Q(values.m_strStartDate),        QStringLiteral("--end"),      Q(values.m_strEndDate),
        QStringLiteral("--progress-fd"), QString::number(kProgressFd), QStringLiteral("--trace")};
    return Execute(arguments, QStringLiteral("writing \"%1\"").arg(Q(values.m_strAdiPath)), pipe.get());
}

void CExportWorker::Stop() {
    if (m_process) {
        m_stopRequested = true;
        m_process->terminate();
        // An exporter that does not end on request is not allowed to hold the window open.
        QTimer::singleShot(kStopGraceMs, m_process, &QProcess::kill);
    }
}

WorkerOutcome CExportWorker::Execute(const QStringList& arguments, const QString& task, CProgressPipe* progress) {
    // Checked here because a program that cannot be executed would otherwise only show up
    // as an anonymous start failure.
    if (!QFileInfo(m_program).isExecutable())
        return Failure(QStringLiteral("The exporter \"%1\" is missing or not executable, so %2 is not "
                                      "possible. Build the project (scripts/build.sh) or reinstall it "
                                      "so that morvask-export lies next to morvask.")
                           .arg(m_program, task));

    QProcess process;
    process.setProgram(m_program);
    process.setArguments(arguments);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.setInputChannelMode(QProcess::ManagedInputChannel);
    if (!m_winePrefix.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("WINEPREFIX"), m_winePrefix);
        process.setProcessEnvironment(environment);
    }
    if (progress) {
        const int writeFd = progress->WriteEnd();
        // Runs in the child between fork and exec: only async-signal-safe calls.
        process.setChildProcessModifier([writeFd] {
            if (writeFd == kProgressFd)
                ::fcntl(kProgressFd, F_SETFD, 0);
            else
                ::dup2(writeFd, kProgressFd);
        });
    }
    QObject::connect(&process, &QProcess::readyReadStandardOutput, [this, &process] { ForwardTrace(process); });

    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&loop, &process](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart || process.state() == QProcess::NotRunning) loop.quit();
    });

    m_stopRequested = false;
    m_stdoutPartial.clear();
    m_process = &process;
    process.start();
    process.closeWriteChannel();
    if (progress) progress->CloseWriteEnd();
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
    m_process = nullptr;
    ForwardTrace(process);
    if (progress) progress->Drain();

    if (process.error() == QProcess::FailedToStart)
        return Failure(QStringLiteral("The exporter \"%1\" could not be started (%2), so %3 is not possible. "
                                      "Check that morvask-export lies next to morvask and can be run.")
                           .arg(m_program, process.errorString(), task));
    if (m_stopRequested) return WorkerOutcome{WorkerOutcome::Kind::Stopped, {}};
    if (process.exitStatus() == QProcess::CrashExit)
        return Failure(QStringLiteral("The exporter ended unexpectedly while %1. Nothing is lost in the "
                                      "logging program's files; try again.")
                           .arg(task));
    if (process.exitCode() == 0) return WorkerOutcome{};
    const std::string error = FirstLine(process.readAllStandardError());
    if (!error.empty()) return WorkerOutcome{WorkerOutcome::Kind::Failed, error};
    return Failure(QStringLiteral("The exporter failed with exit code %1 while %2, without saying why. "
                                  "Run morvask-export by hand with the same values to see more.")
                       .arg(process.exitCode())
                       .arg(task));
}

void CExportWorker::ForwardTrace(QProcess& process) {
    // Only the length trace belongs on our standard output; the exporter's summary lines
    // stay with it.
    m_stdoutPartial += process.readAllStandardOutput().toStdString();
    std::size_t start = 0;
    for (std::size_t nl; (nl = m_stdoutPartial.find('\n', start)) != std::string::npos; start = nl + 1) {
        const std::string line = m_stdoutPartial.substr(start, nl - start + 1);
        if (line.rfind("String of integer ", 0) == 0) std::fputs(line.c_str(), stdout);
    }
    m_stdoutPartial.erase(0, start);
    std::fflush(stdout);
}
