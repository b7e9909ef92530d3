#include "ui/InstallCheck.h"

#include "cli/ExporterCommandLine.h"

#include <QFileInfo>
#include <QProcess>

namespace {

// --version answers at once; a program that takes longer is not our exporter.
constexpr int kAnswerTimeoutMs = 10000;

std::string FirstLine(const QByteArray& bytes) {
    std::string text = bytes.toStdString();
    if (const std::size_t end = text.find_first_of("\r\n"); end != std::string::npos) text.erase(end);
    return text;
}

InstallCheck::Outcome Broken(const std::string& program, const std::string& problem) {
    return {1, "morvask: the exporter " + program + " " + problem + ". Reinstall morvask (or build it again) so that " +
                   ExporterCommandLine::kProgramName + " lies next to morvask."};
}

}  // namespace

InstallCheck::Outcome InstallCheck::Run(const QString& program, const std::string& version) {
    const std::string path = program.toStdString();
    if (!QFileInfo(program).isExecutable()) return Broken(path, "is missing or not executable");

    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(program, {QString::fromLatin1(ExporterCommandLine::kVersion)});
    if (!process.waitForStarted(kAnswerTimeoutMs))
        return Broken(path, "could not be started (" + process.errorString().toStdString() + ")");
    process.closeWriteChannel();
    if (!process.waitForFinished(kAnswerTimeoutMs)) {
        process.kill();
        process.waitForFinished(-1);
        return Broken(path, "did not answer --version");
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return Broken(path, "failed on --version (" + FirstLine(process.readAllStandardError()) + ")");

    const std::string answer = FirstLine(process.readAllStandardOutput());
    const std::string expected = std::string(ExporterCommandLine::kProgramName) + " " + version;
    if (answer != expected) return Broken(path, "reports \"" + answer + "\" instead of \"" + expected + "\"");
    return {0, "morvask " + version + " starts the exporter " + path + " (" + answer + ")."};
}
