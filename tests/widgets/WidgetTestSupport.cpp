#include "WidgetTestSupport.h"

#include "ui/CMorvaskView.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

class ScriptedDialog : public IRunSettingsDialog {
public:
    explicit ScriptedDialog(std::optional<RunSettings> values) : m_values(std::move(values)) {}
    bool DoModal() override { return m_values.has_value(); }
    RunSettings Values() const override { return m_values.value_or(RunSettings{}); }

private:
    std::optional<RunSettings> m_values;
};

} // namespace

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        QFAIL(qPrintable(QStringLiteral("cannot write %1").arg(path)));
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

RunSettings UsableRunValues(const QString& folder)
{
    const QDir dir(folder);
    return RunSettings{dir.filePath(QStringLiteral("source.mdb")).toStdString(),
                       dir.filePath(QStringLiteral("Refdata.mdb")).toStdString(),
                       dir.filePath(QStringLiteral("adiUpld2Morvask.adi")).toStdString(),
                       "PA3ABC", "19451116", "20301231"};
}

AppHarness::AppHarness() : app(std::make_unique<CMorvaskApp>())
{
    qputenv("FAKE_WORKER_DIR", m_workerDir.path().toLocal8Bit());
    app->SetWorkerProgram(QStringLiteral(MORVASK_FAKE_WORKER));
    app->SetDialogFactory([this] {
        ++shown;
        return std::make_unique<ScriptedDialog>(showings.isEmpty() ? std::nullopt : showings.takeFirst());
    });
    app->SetMessageSink([this](const QString& text) { messages.append(text); });
    app->SetUrlOpener([this](const QUrl& url) { opened.append(url); });
    app->SetPathChooser([this](bool) {
        ++pathQuestions;
        return pathAnswers.isEmpty() ? QString() : pathAnswers.takeFirst();
    });
}

bool AppHarness::Start(const RunSettings& values)
{
    showings.push_back(values);
    return app->InitInstance();
}

void AppHarness::SetRunSteps(const QStringList& steps)
{
    WriteFile(WorkerPath(QStringLiteral("run.steps")), (steps.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
}

int AppHarness::Calls(const QString& what) const
{
    const QString log = QString::fromUtf8(ReadFile(WorkerPath(QStringLiteral("calls.log"))));
    return int(log.split(QLatin1Char('\n')).filter(what).size());
}

QString AppHarness::FieldText(const char* objectName) const
{
    const auto* field = View() ? View()->findChild<QLabel*>(QString::fromLatin1(objectName)) : nullptr;
    return field ? field->text() : QStringLiteral("<no field %1>").arg(QString::fromLatin1(objectName));
}

QStringList AppHarness::Counters() const
{
    return {FieldText("totalQsos_1001"), FieldText("notValidQsos_1002"), FieldText("validQsos_1004"),
            FieldText("notSameOprCall_1003"), FieldText("notDateRange_1010")};
}

QStringList AppHarness::RunValueFields() const
{
    return {FieldText("sourcePath_1005"), FieldText("refdataPath_1006"), FieldText("adiPath_1008"),
            FieldText("oprCall_1007"),    FieldText("startDate_1015"),   FieldText("endDate_1016")};
}

void AppHarness::Click(const char* buttonName) const
{
    auto* button = View()->findChild<QPushButton*>(QString::fromLatin1(buttonName));
    QVERIFY2(button, buttonName);
    QTest::mouseClick(button, Qt::LeftButton);
}
