#include "WidgetTestSupport.h"

#include "ui/CMainFrame.h"
#include "ui/CMorvaskView.h"
#include "ui/CRecentFileList.h"
#include "ui/CWorkerRecordset.h"
#include "settings/WinePrefix.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

#include <functional>

// The main form at work: the counters through a run, the buttons and the menu while the
// exporter runs, View, and the File commands that re-initialise the document.
class TestMainForm : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void countersThroughARun();
    void busyWhileRunning();
    void closeDuringRunEndsTheRunFirst();
    void failedRuns_data();
    void failedRuns();
    void repeatedInitialUpdate();
    void viewHandsTheFileToTheDesktop();
    void viewMapsAWindowsPath();
    void recentFileListHoldsFour();
    void vanishedRecentFile();
    void saveCommands_data();
    void saveCommands();
    void frameShrunkToForm();
    void fileMenuItems();
    void keysWithoutHandlerDoNothing_data();
    void keysWithoutHandlerDoNothing();

private:
    QPushButton* Button(const char* name) const;
    // Clicks "Make adi file" and, while the run is in progress, calls probe once the counters
    // read ready (any counters once the run has started, when ready is empty).
    void RunWithProbe(const QStringList& ready, const std::function<void()>& probe);
    QStringList RunValueFields() const;

    QTemporaryDir m_home;
    std::unique_ptr<AppHarness> m_harness;
};

void TestMainForm::initTestCase()
{
    IsolateUserEnvironment(m_home);
}

void TestMainForm::init()
{
    m_harness = std::make_unique<AppHarness>();
    QVERIFY(m_harness->Start(UsableRunValues(m_harness->worker.Path("."))));
}

void TestMainForm::cleanup()
{
    m_harness.reset();
    QSettings(QStringLiteral("Local AppWizard-Generated Applications"),
              QStringLiteral("Morvask ADI filemaker - ver 1.00"))
        .clear();
}

QPushButton* TestMainForm::Button(const char* name) const
{
    return m_harness->View()->findChild<QPushButton*>(QString::fromLatin1(name));
}

void TestMainForm::RunWithProbe(const QStringList& ready, const std::function<void()>& probe)
{
    // Polled rather than timed, so that a slow start of the exporter on a busy machine
    // cannot make the probe look too early or too late.
    bool probed = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!probed && m_harness->View()->IsRunning() && (ready.isEmpty() || m_harness->Counters() == ready)) {
            probed = true;
            probe();
        }
    });
    poll.start();
    QTest::mouseClick(Button("makeAdiFile_1000"), Qt::LeftButton);
    QVERIFY2(probed, "the run ended before the probe could look at it");
}

QStringList TestMainForm::RunValueFields() const
{
    return {m_harness->FieldText("sourcePath_1005"), m_harness->FieldText("refdataPath_1006"),
            m_harness->FieldText("oprCall_1007"),    m_harness->FieldText("adiPath_1008"),
            m_harness->FieldText("startDate_1015"),  m_harness->FieldText("endDate_1016")};
}

void TestMainForm::countersThroughARun()
{
    QCOMPARE(m_harness->Counters(), QStringList(5, QString()));
    m_harness->worker.SetRunSteps({"sleep 0.3", "1 1 0 0 0", "sleep 0.5", "79 7 62 9 1"});
    // Every state the counters pass through while the run is in progress.
    QList<QStringList> seen;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (m_harness->View()->IsRunning() && (seen.isEmpty() || seen.last() != m_harness->Counters()))
            seen.append(m_harness->Counters());
    });
    poll.start();
    QTest::mouseClick(Button("makeAdiFile_1000"), Qt::LeftButton);
    QVERIFY(seen.size() >= 2);
    QCOMPARE(seen[0], QStringList(5, QStringLiteral("0")));
    QCOMPARE(seen[1], (QStringList{"1", "1", "0", "0", "0"}));
    // Each count lands in its own field: total, not valid, valid, not same OprCall, not in range.
    QCOMPARE(m_harness->Counters(), (QStringList{"79", "7", "62", "9", "1"}));
    QCOMPARE(m_harness->messages, QStringList{});
}

void TestMainForm::busyWhileRunning()
{
    m_harness->worker.SetRunSteps({"sleep 0.8"});
    bool makeEnabled = true;
    bool viewEnabled = true;
    bool menuEnabled = true;
    bool newEnabled = true;
    RunWithProbe({}, [&] {
        makeEnabled = Button("makeAdiFile_1000")->isEnabled();
        viewEnabled = Button("viewAdiFile_1009")->isEnabled();
        menuEnabled = m_harness->Frame()->menuBar()->isEnabled();
        newEnabled = m_harness->Frame()->NewAction()->isEnabled();
        // A click already on its way, and a direct call, must not start a second run.
        m_harness->View()->OnMakeAdiFile();
        Button("makeAdiFile_1000")->click();
    });
    QVERIFY(!makeEnabled);
    QVERIFY(!viewEnabled);
    QVERIFY(!menuEnabled);
    QVERIFY(!newEnabled);
    QCOMPARE(m_harness->worker.RunCalls(), 1);
    QVERIFY(Button("makeAdiFile_1000")->isEnabled());
    QVERIFY(Button("viewAdiFile_1009")->isEnabled());
    QVERIFY(m_harness->Frame()->menuBar()->isEnabled());
    QVERIFY(m_harness->Frame()->NewAction()->isEnabled());
}

void TestMainForm::closeDuringRunEndsTheRunFirst()
{
    m_harness->worker.SetRunSteps({"1 0 1 0 0", "sleep 30"});
    bool stillVisibleAfterClose = false;
    // Closed once the exporter has reported, so that it is surely running its steps.
    RunWithProbe({"1", "0", "1", "0", "0"}, [&] {
        m_harness->Frame()->close();
        stillVisibleAfterClose = m_harness->Frame()->isVisible();
    });
    // The run was asked to end and the form outlived it; then the window closed itself.
    QVERIFY(stillVisibleAfterClose);
    QVERIFY(m_harness->worker.WasTerminated());
    QTRY_VERIFY(!m_harness->Frame()->isVisible());
    QCOMPARE(m_harness->messages, QStringList{});
}

void TestMainForm::failedRuns_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("messageStart");
    QTest::addColumn<QStringList>("counters");
    QTest::newRow("the exporter's error text is shown as it is")
        << QStringList{"0 0 0 0 0", "fail Cannot create \"/x/adiUpld2Morvask.adi\": permission denied."}
        << "Cannot create \"/x/adiUpld2Morvask.adi\": permission denied." << QStringList(5, "0");
    QTest::newRow("a refused argument shows its reason without the usage text")
        << QStringList{"refuse morvask-export: --end: \"2030\" is not a date."}
        << "morvask-export: --end: \"2030\" is not a date." << QStringList(5, "0");
    QTest::newRow("an exporter that dies is reported, with the counts reached kept")
        << QStringList{"3 0 3 0 0", "die"} << "The exporter ended unexpectedly" << QStringList{"3", "0", "3", "0", "0"};
}

void TestMainForm::failedRuns()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, messageStart);
    QFETCH(QStringList, counters);
    m_harness->worker.SetRunSteps(steps);
    QTest::mouseClick(Button("makeAdiFile_1000"), Qt::LeftButton);
    QCOMPARE(m_harness->messages.size(), 1);
    QVERIFY2(m_harness->messages[0].startsWith(messageStart), qPrintable(m_harness->messages[0]));
    QVERIFY2(!m_harness->messages[0].contains(QLatin1Char('\n')), qPrintable(m_harness->messages[0]));
    QCOMPARE(m_harness->Counters(), counters);

    // The program carries on and the next run works.
    m_harness->worker.SetRunSteps({"2 0 2 0 0"});
    QTest::mouseClick(Button("makeAdiFile_1000"), Qt::LeftButton);
    QCOMPARE(m_harness->messages.size(), 1);
    QCOMPARE(m_harness->Counters(), (QStringList{"2", "0", "2", "0", "0"}));
    QCOMPARE(m_harness->worker.RunCalls(), 2);
}

void TestMainForm::repeatedInitialUpdate()
{
    const QStringList runValues = RunValueFields();
    m_harness->worker.SetRunSteps({"5 1 2 1 1"});
    QTest::mouseClick(Button("makeAdiFile_1000"), Qt::LeftButton);
    QCOMPARE(RunValueFields(), runValues);

    m_harness->Frame()->NewAction()->trigger();
    QCOMPARE(m_harness->Counters(), (QStringList{"5", "1", "2", "1", "1"}));
    QCOMPARE(RunValueFields(), runValues);
    // The run closed the prefix table, so the new initial update opened it again.
    QCOMPARE(m_harness->worker.Calls().filter(QStringLiteral("--check-refdata")).size(), 2);
    QVERIFY(m_harness->View()->GetFormRecordset()->IsOpen());
    m_harness->Frame()->NewAction()->trigger();
    QCOMPARE(m_harness->worker.Calls().filter(QStringLiteral("--check-refdata")).size(), 2);
}

void TestMainForm::viewHandsTheFileToTheDesktop()
{
    const QString adiPath = QString::fromStdString(m_harness->app->Settings().m_strAdiPath);
    QVERIFY(!QFile::exists(adiPath));
    Button("viewAdiFile_1009")->click();
    QTest::mouseClick(Button("makeAdiFile_1000"), Qt::LeftButton);
    Button("viewAdiFile_1009")->click();
    QCOMPARE(m_harness->opened, (QList<QUrl>{QUrl::fromLocalFile(adiPath), QUrl::fromLocalFile(adiPath)}));
    QCOMPARE(m_harness->messages, QStringList{});
}

void TestMainForm::viewMapsAWindowsPath()
{
    AppHarness harness;
    const QString prefix = harness.worker.Path(QStringLiteral("prefix"));
    QVERIFY(QDir().mkpath(prefix + QStringLiteral("/drive_c/Log")));
    QVERIFY(QDir().mkpath(prefix + QStringLiteral("/dosdevices")));
    QVERIFY(QFile::link(QStringLiteral("../drive_c"), prefix + QStringLiteral("/dosdevices/c:")));
    QFile written(prefix + QStringLiteral("/drive_c/Log/adiUpld2Morvask.adi"));
    QVERIFY(written.open(QIODevice::WriteOnly));
    written.close();
    harness.app->SetPrefix(WinePrefix(prefix.toStdString()));
    RunSettings values = UsableRunValues(harness.worker.Path("."));
    values.m_strAdiPath = "C:\\Log\\adiUpld2Morvask.adi";
    QVERIFY(harness.Start(values));

    harness.View()->findChild<QPushButton*>(QStringLiteral("viewAdiFile_1009"))->click();
    QCOMPARE(harness.opened.size(), 1);
    QVERIFY(harness.opened[0].isLocalFile());
    QCOMPARE(QFileInfo(harness.opened[0].toLocalFile()).canonicalFilePath(), QFileInfo(written).canonicalFilePath());
    QCOMPARE(harness.FieldText("adiPath_1008"), QStringLiteral("C:\\Log\\adiUpld2Morvask.adi"));
}

void TestMainForm::recentFileListHoldsFour()
{
    QStringList files;
    for (int i = 1; i <= 6; ++i) {
        files.append(m_harness->worker.Path(QStringLiteral("doc%1.txt").arg(i)));
        QFile file(files.last());
        QVERIFY(file.open(QIODevice::WriteOnly));
        m_harness->pathAnswers.push_back(files.last());
        m_harness->Frame()->OpenAction()->trigger();
    }
    m_harness->pathAnswers.push_back(files[3]);
    m_harness->Frame()->OpenAction()->trigger();
    const QStringList newestFirst{files[3], files[5], files[4], files[2]};
    QCOMPARE(m_harness->app->RecentFiles().Entries(), newestFirst);

    QStringList menuEntries;
    for (QAction* action : m_harness->Frame()->menuBar()->actions().first()->menu()->actions())
        if (action->objectName().startsWith(QStringLiteral("fileMru_")) && action->isVisible())
            menuEntries.append(action->text());
    QCOMPARE(menuEntries.size(), 4);

    CRecentFileList reread(QStringLiteral("Local AppWizard-Generated Applications"),
                           QStringLiteral("Morvask ADI filemaker - ver 1.00"));
    reread.ReadList();
    QCOMPARE(reread.Entries(), newestFirst);
}

void TestMainForm::vanishedRecentFile()
{
    const QString path = m_harness->worker.Path(QStringLiteral("gone.txt"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    m_harness->pathAnswers.push_back(path);
    m_harness->Frame()->OpenAction()->trigger();
    QVERIFY(QFile::remove(path));
    const QStringList runValues = RunValueFields();

    emit m_harness->Frame()->RecentFileChosen(path);
    QCOMPARE(m_harness->messages.size(), 1);
    QVERIFY2(m_harness->messages[0].contains(path), qPrintable(m_harness->messages[0]));
    QCOMPARE(m_harness->app->RecentFiles().Entries(), QStringList{});
    QCOMPARE(RunValueFields(), runValues);
    QVERIFY(m_harness->Frame()->isVisible());
}

void TestMainForm::saveCommands_data()
{
    QTest::addColumn<bool>("openFirst");
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("asksForPath");
    QTest::newRow("Save after Open asks for a path instead of emptying the opened file")
        << true << "save" << true;
    QTest::newRow("Save of a new document asks for a path") << false << "save" << true;
    QTest::newRow("Save As writes a zero-byte file") << false << "saveAs" << true;
    QTest::newRow("Save As after Open leaves the opened file alone") << true << "saveAs" << true;
}

void TestMainForm::saveCommands()
{
    QFETCH(bool, openFirst);
    QFETCH(QString, command);
    QFETCH(bool, asksForPath);
    const QString opened = m_harness->worker.Path(QStringLiteral("opened.txt"));
    {
        QFile file(opened);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("the user's own data");
    }
    if (openFirst) {
        m_harness->pathAnswers.push_back(opened);
        m_harness->Frame()->OpenAction()->trigger();
    }
    const QString target = m_harness->worker.Path(QStringLiteral("saved.doc"));
    m_harness->pathAnswers.push_back(target);
    m_harness->pathQuestions.clear();
    (command == QLatin1String("save") ? m_harness->Frame()->SaveAction() : m_harness->Frame()->SaveAsAction())
        ->trigger();

    QCOMPARE(m_harness->pathQuestions, asksForPath ? QList<bool>{true} : QList<bool>{});
    QVERIFY(QFile::exists(target));
    QCOMPARE(QFileInfo(target).size(), qint64(0));
    QFile file(opened);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("the user's own data"));

    // Once saved under a name of its own, Save writes there without asking again.
    m_harness->pathQuestions.clear();
    m_harness->Frame()->SaveAction()->trigger();
    QCOMPARE(m_harness->pathQuestions, QList<bool>{});
}

void TestMainForm::frameShrunkToForm()
{
    // The offscreen screen is 800 x 800: the frame is created 691 x 740 at 54, 30. The form
    // is wider than that client area and much lower.
    CMainFrame* frame = m_harness->Frame();
    CMorvaskView* view = m_harness->View();
    QCOMPARE(QGuiApplication::primaryScreen()->geometry().size(), QSize(800, 800));
    const QSize form = view->FormSize();
    QVERIFY2(form.width() > 691, "the form must be wider than the frame for this test");
    QCOMPARE(frame->pos(), QPoint(54, 30));
    QCOMPARE(frame->width(), 691);
    QCOMPARE(view->height(), form.height());
    QVERIFY(frame->height() < 740);
    QVERIFY(view->horizontalScrollBar()->maximum() > 0);
}

void TestMainForm::fileMenuItems()
{
    const QList<QAction*> bar = m_harness->Frame()->menuBar()->actions();
    QCOMPARE(bar.size(), 1);
    QCOMPARE(bar[0]->text(), QStringLiteral("&File"));
    QStringList items;
    for (QAction* action : bar[0]->menu()->actions()) {
        if (!action->isVisible())
            continue;
        items.append(action->isSeparator() ? QStringLiteral("-")
                                           : action->text() + (action->isEnabled() ? "" : " (greyed)"));
    }
    // No item leads to the about box.
    QCOMPARE(items, (QStringList{"&New\tCtrl+N", "&Open...\tCtrl+O", "&Save\tCtrl+S", "Save &As...", "-",
                                 "Recent File (greyed)", "-", "E&xit"}));
}

void TestMainForm::keysWithoutHandlerDoNothing_data()
{
    QTest::addColumn<QKeySequence>("key");
    QTest::newRow("Ctrl+C") << QKeySequence(Qt::CTRL | Qt::Key_C);
    QTest::newRow("Ctrl+V") << QKeySequence(Qt::CTRL | Qt::Key_V);
    QTest::newRow("Ctrl+Z") << QKeySequence(Qt::CTRL | Qt::Key_Z);
    QTest::newRow("Shift+Delete") << QKeySequence(Qt::SHIFT | Qt::Key_Delete);
    QTest::newRow("F6") << QKeySequence(Qt::Key_F6);
    QTest::newRow("Shift+F6") << QKeySequence(Qt::SHIFT | Qt::Key_F6);
}

void TestMainForm::keysWithoutHandlerDoNothing()
{
    QFETCH(QKeySequence, key);
    CMainFrame* frame = m_harness->Frame();
    QApplication::setActiveWindow(frame);
    QVERIFY(QTest::qWaitForWindowActive(frame));
    const QString caption = frame->windowTitle();
    const QStringList runValues = RunValueFields();
    QTest::keySequence(frame, key);
    QCOMPARE(m_harness->messages, QStringList{});
    QCOMPARE(m_harness->pathQuestions, QList<bool>{});
    QCOMPARE(m_harness->worker.RunCalls(), 0);
    QCOMPARE(frame->windowTitle(), caption);
    QCOMPARE(RunValueFields(), runValues);
    QVERIFY(frame->isVisible());
}

QTEST_MAIN(TestMainForm)
#include "tst_main_form.moc"
