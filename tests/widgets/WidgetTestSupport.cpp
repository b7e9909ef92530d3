#include "WidgetTestSupport.h"

#include "ui/CMainFrame.h"
#include "ui/CMorvaskView.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTextStream>

void IsolateUserEnvironment(const QTemporaryDir& home)
{
    qputenv("XDG_CONFIG_HOME", QDir(home.path()).filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("WINEPREFIX", QDir(home.path()).filePath(QStringLiteral("wine")).toLocal8Bit());
}

FakeWorker::FakeWorker()
{
    qputenv("FAKE_WORKER_DIR", m_dir.path().toLocal8Bit());
}

QString FakeWorker::Program() const
{
    return QStringLiteral(MORVASK_FAKE_WORKER);
}

void FakeWorker::FailCheck(const QString& check, const QString& text)
{
    QFile file(Path(check + QStringLiteral(".err")));
    if (file.open(QIODevice::WriteOnly))
        file.write(text.toUtf8());
}

void FakeWorker::SetRunSteps(const QStringList& steps)
{
    QFile file(Path(QStringLiteral("run.steps")));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write((steps.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
}

QStringList FakeWorker::Calls() const
{
    QFile file(Path(QStringLiteral("calls.log")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

int FakeWorker::RunCalls() const
{
    int runs = 0;
    for (const QString& call : Calls())
        if (!call.startsWith(QStringLiteral("--check")))
            ++runs;
    return runs;
}

bool FakeWorker::WasTerminated() const
{
    return QFile::exists(Path(QStringLiteral("signals.log")));
}

RunSettings UsableRunValues(const QString& folder)
{
    RunSettings values;
    values.m_strSourcePath = QDir(folder).filePath(QStringLiteral("source.mdb")).toStdString();
    values.m_strRefdataPath = QDir(folder).filePath(QStringLiteral("Refdata.mdb")).toStdString();
    values.m_strAdiPath = QDir(folder).filePath(QStringLiteral("adiUpld2Morvask.adi")).toStdString();
    values.m_strOprCall = "PA3ABC";
    values.m_strStartDate = "19451116";
    values.m_strEndDate = "20301231";
    return values;
}

AppHarness::AppHarness() : app(std::make_unique<CMorvaskApp>())
{
    app->SetWorkerProgram(worker.Program());
    app->SetDialogFactory([this]() -> std::unique_ptr<IRunSettingsDialog> {
        ++shown;
        DialogShowing showing;
        showing.ok = false;
        if (!showings.empty()) {
            showing = showings.front();
            showings.pop_front();
        }
        return std::make_unique<ScriptedDialog>(showing);
    });
    app->SetMessageSink([this](const QString& text) { messages.append(text); });
    app->SetUrlOpener([this](const QUrl& url) { opened.append(url); });
    app->SetPathChooser([this](bool forSave) {
        pathQuestions.append(forSave);
        if (pathAnswers.empty())
            return QString();
        const QString answer = pathAnswers.front();
        pathAnswers.pop_front();
        return answer;
    });
}

AppHarness::~AppHarness() = default;

bool AppHarness::Start(const RunSettings& values)
{
    showings.push_back(DialogShowing{true, values});
    return app->InitInstance();
}

CMainFrame* AppHarness::Frame() const
{
    return app->MainFrame();
}

CMorvaskView* AppHarness::View() const
{
    return Frame() ? Frame()->View() : nullptr;
}

QLabel* AppHarness::Field(const char* objectName) const
{
    return View() ? View()->findChild<QLabel*>(QString::fromLatin1(objectName)) : nullptr;
}

QString AppHarness::FieldText(const char* objectName) const
{
    const QLabel* field = Field(objectName);
    return field ? field->text() : QStringLiteral("<no field %1>").arg(QString::fromLatin1(objectName));
}

QStringList AppHarness::Counters() const
{
    return {FieldText("totalQsos_1001"), FieldText("notValidQsos_1002"), FieldText("validQsos_1004"),
            FieldText("notSameOprCall_1003"), FieldText("notDateRange_1010")};
}
