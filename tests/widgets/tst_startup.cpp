#include "WidgetTestSupport.h"

#include "ui/CMainFrame.h"
#include "ui/CMorvaskDoc.h"
#include "ui/CMorvaskView.h"
#include "ui/CSingleDocTemplate.h"
#include "ui/CWorkerRecordset.h"

#include <QtTest>

// Start-up: the run-settings dialog until its values are usable, the source database and its
// version through the exporter, and only then the main window.
class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void startupPaths_data();
    void startupPaths();
    void missingExporterEndsWithMessage();
    void captionAndDocumentTitle_data();
    void captionAndDocumentTitle();
    void referenceDatabaseFailureKeepsProgramRunning();

private:
    QTemporaryDir m_home;
};

void TestStartup::initTestCase()
{
    IsolateUserEnvironment(m_home);
}

void TestStartup::startupPaths_data()
{
    QTest::addColumn<QStringList>("showings");
    QTest::addColumn<QString>("checkSourceError");
    QTest::addColumn<bool>("started");
    QTest::addColumn<int>("timesShown");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("sourceChecks");
    // Showings: "cancel", "ok" (usable values), "no-source", "short-date".
    QTest::newRow("cancel at the first showing ends silently")
        << QStringList{"cancel"} << "" << false << 1 << QStringList{} << 0;
    QTest::newRow("refused values bring the dialog back; cancel then ends silently")
        << QStringList{"no-source", "short-date", "cancel"} << "" << false << 3 << QStringList{} << 0;
    QTest::newRow("refused values, then usable ones start the program")
        << QStringList{"short-date", "ok"} << "" << true << 2 << QStringList{} << 1;
    QTest::newRow("a source database that cannot be opened shows the error's text and ends")
        << QStringList{"ok"} << "Cannot open \"/x/source.mdb\": no such file." << false << 1
        << QStringList{"Cannot open \"/x/source.mdb\": no such file."} << 1;
    QTest::newRow("a refused version shows the version error and ends")
        << QStringList{"ok"} << "Qervel - mdb file version error" << false << 1
        << QStringList{"Qervel - mdb file version error"} << 1;
    QTest::newRow("usable values and a good database show the main window")
        << QStringList{"ok"} << "" << true << 1 << QStringList{} << 1;
}

void TestStartup::startupPaths()
{
    QFETCH(QStringList, showings);
    QFETCH(QString, checkSourceError);
    QFETCH(bool, started);
    QFETCH(int, timesShown);
    QFETCH(QStringList, messages);
    QFETCH(int, sourceChecks);

    AppHarness harness;
    if (!checkSourceError.isEmpty())
        harness.worker.FailCheck(QStringLiteral("check-source"), checkSourceError);
    for (const QString& kind : showings) {
        DialogShowing showing{kind != QLatin1String("cancel"), UsableRunValues(harness.worker.Path("."))};
        if (kind == QLatin1String("no-source"))
            showing.values.m_strSourcePath.clear();
        if (kind == QLatin1String("short-date"))
            showing.values.m_strStartDate = "2012";
        harness.showings.push_back(showing);
    }

    QCOMPARE(harness.app->InitInstance(), started);
    QCOMPARE(harness.shown, timesShown);
    QCOMPARE(harness.messages, messages);
    QCOMPARE(harness.worker.Calls().filter(QStringLiteral("--check-source")).size(), sourceChecks);
    QCOMPARE(harness.Frame() != nullptr && harness.Frame()->isVisible(), started);
}

void TestStartup::missingExporterEndsWithMessage()
{
    AppHarness harness;
    harness.app->SetWorkerProgram(harness.worker.Path(QStringLiteral("no-such-exporter")));
    QVERIFY(!harness.Start(UsableRunValues(harness.worker.Path("."))));
    QCOMPARE(harness.messages.size(), 1);
    QVERIFY2(harness.messages[0].contains(QStringLiteral("no-such-exporter")), qPrintable(harness.messages[0]));
    QVERIFY(!harness.Frame());
}

void TestStartup::captionAndDocumentTitle_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("caption");
    QTest::newRow("with a call") << "PA3ABC" << "Morvask ADI filemaker - ver 1.00 - - PA3ABC";
    QTest::newRow("with an empty call") << "" << "Morvask ADI filemaker - ver 1.00 - - ";
}

void TestStartup::captionAndDocumentTitle()
{
    QFETCH(QString, call);
    QFETCH(QString, caption);
    AppHarness harness;
    RunSettings values = UsableRunValues(harness.worker.Path("."));
    values.m_strOprCall = call.toStdString();
    QVERIFY(harness.Start(values));
    QCOMPARE(harness.Frame()->windowTitle(), caption);
    QCOMPARE(harness.app->DocTemplate()->Document()->GetTitle(), QStringLiteral("Morvask ADI filemaker Ver 1.00"));
    QCOMPARE(harness.FieldText("oprCall_1007"), call);
    QCOMPARE(harness.Counters(), QStringList(5, QString()));
}

void TestStartup::referenceDatabaseFailureKeepsProgramRunning()
{
    AppHarness harness;
    harness.worker.FailCheck(QStringLiteral("check-refdata"), QStringLiteral("Cannot open \"/x/Refdata.mdb\"."));
    QVERIFY(harness.Start(UsableRunValues(harness.worker.Path("."))));
    QCOMPARE(harness.messages, QStringList{QStringLiteral("Cannot open \"/x/Refdata.mdb\".")});
    QVERIFY(harness.Frame()->isVisible());
    // What the initial update set before the failure stays in force.
    QCOMPARE(harness.Frame()->windowTitle(), QStringLiteral("Morvask ADI filemaker - ver 1.00 - - PA3ABC"));
    QVERIFY(!harness.View()->GetFormRecordset()->IsOpen());
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
