#include "cli/ExporterCommandLine.h"
#include "settings/CRunSettingsDlg.h"
#include "settings/RunSettings.h"
#include "tests/support/FileBytes.h"
#include "tests/support/LengthTrace.h"
#include "ui/CMainFrame.h"
#include "ui/CMorvaskApp.h"
#include "ui/CMorvaskDoc.h"
#include "ui/CMorvaskView.h"
#include "ui/CRecentFileList.h"
#include "ui/CRunAnnouncer.h"
#include "ui/CSingleDocTemplate.h"
#include "ui/CWorkerRecordset.h"
#include "ui/FrameGeometry.h"

#include <fcntl.h>
#include <unistd.h>

#include <QAccessible>
#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMetaEnum>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

#include <sys/stat.h>

#include <functional>
#include <memory>
#include <optional>

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) { ::WriteFile(path.toStdString(), bytes.toStdString()); }

QByteArray ReadFile(const QString& path) { return QByteArray::fromStdString(::ReadFile(path.toStdString())); }

// Run values that the start-up accepts, with the databases and the output file in folder: a
// host folder, or a Windows one as the operator types it in the dialog.
RunSettings RunValues(const QString& folder, char separator = '/') {
    const std::string in = folder.toStdString() + separator;
    return RunSettings{in + "source.mdb", in + "Refdata.mdb", in + "adiUpld2Morvask.adi",
                       "PA3ABC",          "19451116",         "20301231"};
}
RunSettings TypedRunValues() { return RunValues(QStringLiteral("C:\\Qervel"), '\\'); }

class ScriptedDialog : public IRunSettingsDialog {
public:
    explicit ScriptedDialog(std::optional<RunSettings> values) : m_values(std::move(values)) {}
    bool DoModal() override { return m_values.has_value(); }
    RunSettings Values() const override { return m_values.value_or(RunSettings{}); }

private:
    std::optional<RunSettings> m_values;
};

// The application wired to the fake exporter, which is scripted by files in a folder of its
// own ("check-source" or "check-refdata" fail that check; "run.steps" scripts the
// runs; see fake_morvask_export.cpp) and logs every call there. Message boxes, the desktop's
// file handler and the file dialogs are recorded instead of shown. Each showing of the
// run-settings dialog takes the next entry of showings, nullopt meaning Cancel; with none
// left it cancels.
class AppHarness {
public:
    AppHarness() : app(std::make_unique<CMorvaskApp>()) {
        qputenv("FAKE_WORKER_DIR", m_workerDir.path().toLocal8Bit());
        app->SetWorkerProgram(QStringLiteral(MORVASK_FAKE_WORKER));
        app->SetDialogFactory([this] {
            events.append(QStringLiteral("dialog"));
            return std::make_unique<ScriptedDialog>(showings.isEmpty() ? std::nullopt : showings.takeFirst());
        });
        app->SetMessageSink([this](const QString& text) {
            messages.append(text);
            events.append(text);
        });
        app->SetUrlOpener([this](const QUrl& url) { opened.append(url); });
        app->SetPathChooser([this](bool) {
            ++pathQuestions;
            return pathAnswers.isEmpty() ? QString() : pathAnswers.takeFirst();
        });
    }

    bool Start(const RunSettings& values) {
        showings.push_back(values);
        return app->InitInstance();
    }
    bool Start() { return Start(RunValues(WorkerPath("."))); }

    QString WorkerPath(const QString& name) const { return m_workerDir.filePath(name); }
    // Makes the check of the source ("check-source") or reference database ("check-refdata")
    // fail with the failure "KIND SUBJECT REASON".
    void FailCheck(const QString& check, const QString& failure) {
        WriteFile(WorkerPath(check), "failed " + failure.toUtf8());
    }
    // The steps of the next runs, as the fake exporter reads them.
    void SetRunSteps(const QStringList& steps) {
        WriteFile(WorkerPath(QStringLiteral("run.steps")),
                  (steps.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    }
    // How many calls of the exporter had what among their arguments.
    int Calls(const char* what) const {
        const QString log = QString::fromUtf8(ReadFile(WorkerPath(QStringLiteral("calls.log"))));
        return int(log.split(QLatin1Char('\n')).filter(QString::fromLatin1(what)).size());
    }

    CMainFrame* Frame() const { return app->MainFrame(); }
    CMorvaskView* View() const { return Frame() ? Frame()->View() : nullptr; }
    QString FieldText(const char* objectName) const {
        const auto* field = View() ? View()->findChild<QLabel*>(QString::fromLatin1(objectName)) : nullptr;
        return field ? field->text() : QStringLiteral("<no field %1>").arg(QString::fromLatin1(objectName));
    }
    // Total, not valid, valid, not same OprCall, not date range.
    QStringList Counters() const {
        return {FieldText("totalQsos_1001"), FieldText("notValidQsos_1002"), FieldText("validQsos_1004"),
                FieldText("notSameOprCall_1003"), FieldText("notDateRange_1010")};
    }
    // Source, reference and output paths, operator call, start and end date.
    QStringList RunValueFields() const {
        return {FieldText("sourcePath_1005"), FieldText("refdataPath_1006"), FieldText("adiPath_1008"),
                FieldText("oprCall_1007"),    FieldText("startDate_1015"),   FieldText("endDate_1016")};
    }
    void Click(const char* buttonName) const {
        auto* button = View()->findChild<QPushButton*>(QString::fromLatin1(buttonName));
        QVERIFY2(button, buttonName);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    std::unique_ptr<CMorvaskApp> app;
    QList<std::optional<RunSettings>> showings;
    QStringList messages;
    // "dialog" for each showing of the run-settings dialog and each message's text, in order.
    QStringList events;
    QList<QUrl> opened;
    QStringList pathAnswers;
    int pathQuestions = 0;

private:
    QTemporaryDir m_workerDir;
};

// The accessible tree under iface as a screen reader reads it, one object a line, indented
// by depth: role, name, and the text of an object that holds one.
void DumpAccessibleTree(QAccessibleInterface* iface, int depth, QStringList& lines) {
    QString line = QString(depth * 2, QLatin1Char(' ')) +
                   QString::fromLatin1(QMetaEnum::fromType<QAccessible::Role>().valueToKey(iface->role())) +
                   QStringLiteral(" \"%1\"").arg(iface->text(QAccessible::Name));
    if (QAccessibleTextInterface* text = iface->textInterface())
        line += QStringLiteral(" text \"%1\"").arg(text->text(0, text->characterCount()));
    lines.append(line);
    for (int i = 0; i < iface->childCount(); ++i) DumpAccessibleTree(iface->child(i), depth + 1, lines);
}

QStringList AccessibleTree(QWidget* window) {
    QStringList lines;
    DumpAccessibleTree(QAccessible::queryAccessibleInterface(window), 0, lines);
    return lines;
}

}  // namespace

// The program from start-up on: the run settings until usable, the source database and its
// version, then the main window and its form through runs of the exporter, View and the File
// commands; last, the whole program on the sample log through the real exporter.
class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void startupPaths_data();
    void startupPaths();
    void toldBeforeTheDialogComesBack();
    void beforeTheFirstRun();
    void aRunShowsEveryCountAndLocksTheCommands();
    void aWriterFasterThanTheFormWaitsForIt();
    void newAfterARunKeepsItsCountsAndReopensTheTable();
    void closeDuringRunEndsTheRunFirst_data();
    void closeDuringRunEndsTheRunFirst();
    void failedRuns_data();
    void failedRuns();
    void aMissingExporterIsAnInstallationFault();
    void recentFileList();
    void saveCommands_data();
    void saveCommands();
    void makeAdiFileOnSampleLog();
    void everyValueIsHeardWithItsCaption();
    void eachRunsEndIsToldOnce_data();
    void eachRunsEndIsToldOnce();
    void theKeyboardReachesEveryCommand_data();
    void theKeyboardReachesEveryCommand();
    void messageBoxesAnswerTheKeyboard_data();
    void messageBoxesAnswerTheKeyboard();

private:
    QString SettingsFilePath() const {
        return QDir(m_home.path()).filePath(QStringLiteral("wine/drive_c/windows/Qvl2007.ini"));
    }
    // Presses Space on "Make adi file" and calls probe every 20 ms while the run is in progress;
    // polled rather than timed, so that a slow start of the exporter cannot make a probe miss the run.
    void RunWithProbe(const std::function<void()>& probe);

    QTemporaryDir m_home;
    std::unique_ptr<AppHarness> m_harness;
};

void TestMainWindow::initTestCase() {
    // No test reads or writes the real per-user settings or Wine prefix.
    qputenv("XDG_CONFIG_HOME", QDir(m_home.path()).filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("WINEPREFIX", QDir(m_home.path()).filePath(QStringLiteral("wine")).toLocal8Bit());
}

void TestMainWindow::init() {
    // The previous test's program goes first, then the recent-file list it left behind.
    m_harness.reset();
    QSettings(QStringLiteral("Local AppWizard-Generated Applications"),
              QStringLiteral("Morvask ADI filemaker - ver 1.00"))
        .clear();
    m_harness = std::make_unique<AppHarness>();
}

void TestMainWindow::RunWithProbe(const std::function<void()>& probe) {
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (m_harness->View()->IsRunning()) probe();
    });
    poll.start();
    QTest::keyClick(m_harness->View()->findChild<QPushButton*>("makeAdiFile_1000"), Qt::Key_Space);
}

void TestMainWindow::startupPaths_data() {
    QTest::addColumn<QStringList>("showings");
    QTest::addColumn<QString>("failingCheck");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QStringList>("events");
    // Showings: "cancel" or "ok" (usable values). The database is opened only after a showing
    // whose values are usable; a failed check is the one message after the dialog, and only a
    // source database that passed leads to the main window. Events: "dialog" for a showing,
    // else a message.
    QTest::newRow("cancel at the first showing ends silently") << QStringList{"cancel"} << ""
                                                               << "" << QStringList{"dialog"};
    QTest::newRow("a source database that cannot be opened is named as typed, and the program ends")
        << QStringList{"ok"} << "check-source"
        << "not-found source the file does not exist"
        << QStringList{"dialog",
                       "The source database \"C:\\Qervel\\source.mdb\" cannot be found: the file does not "
                       "exist. Check the path in the run settings."};
    QTest::newRow("a refused version shows exactly the version error and ends")
        << QStringList{"ok"} << "check-source"
        << "version-refused source found 5, needs 6 or later"
        << QStringList{"dialog", "Qervel - mdb file version error"};
    QTest::newRow("a prefix table that cannot be opened is reported; the window stays, captioned")
        << QStringList{"ok"} << "check-refdata"
        << "wrong-layout reference the table [PREFIX-Pri] does not exist"
        << QStringList{"dialog",
                       "The reference database \"C:\\Qervel\\Refdata.mdb\" is not laid out as Qervel's: the table "
                       "[PREFIX-Pri] does not exist. Check that the path in the run settings names the right file."};
}

void TestMainWindow::startupPaths() {
    QFETCH(QStringList, showings);
    QFETCH(QString, failingCheck);
    QFETCH(QString, failure);
    QFETCH(QStringList, events);
    if (!failingCheck.isEmpty()) m_harness->FailCheck(failingCheck, failure);
    for (const QString& kind : showings)
        m_harness->showings.push_back(kind == QLatin1String("cancel") ? std::nullopt : std::optional(TypedRunValues()));
    const bool accepted = showings.constLast() == QLatin1String("ok");
    const bool started = accepted && failingCheck != QLatin1String("check-source");
    QCOMPARE(m_harness->app->InitInstance(), started);
    QCOMPARE(m_harness->events, events);
    QCOMPARE(m_harness->Calls(ExporterCommandLine::kCheckSource), int(accepted));
    QCOMPARE(m_harness->Frame() != nullptr && m_harness->Frame()->isVisible(), started);
    if (started) {
        QCOMPARE(m_harness->Frame()->windowTitle(), QStringLiteral("Morvask ADI filemaker - ver 1.00 - - PA3ABC"));
        QCOMPARE(m_harness->RunValueFields().mid(3), (QStringList{"PA3ABC", "19451116", "20301231"}));
    }
}

void TestMainWindow::toldBeforeTheDialogComesBack() {
    // The program as it starts for the operator: the real dialog and the real message boxes. A
    // settings file that is a named pipe is named first, without being waited on, and the
    // dialog then opens as without one; an OK refused says why before the dialog comes back.
    const QString ini = SettingsFilePath();
    QVERIFY(QDir().mkpath(QFileInfo(ini).path()));
    QCOMPARE(::mkfifo(QFile::encodeName(ini).constData(), 0600), 0);
    CMorvaskApp app;
    QStringList seen;
    QTimer driver;
    driver.setInterval(20);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            seen.append(QStringLiteral("%1 | %2 | %3")
                            .arg(box->windowTitle(), box->icon() == QMessageBox::Warning ? "exclamation" : "other",
                                 box->text()));
            box->button(QMessageBox::Ok)->click();
        } else if (auto* dialog = qobject_cast<CRunSettingsDlg*>(modal)) {
            seen.append(QStringLiteral("dialog, source \"%1\"")
                            .arg(dialog->findChild<QLineEdit*>(QStringLiteral("sourcePath_1002"))->text()));
            dialog->findChild<QPushButton*>(seen.size() < 3 ? QStringLiteral("ok_1") : QStringLiteral("cancel_2"))
                ->click();
        }
    });
    driver.start();
    QVERIFY(!app.InitInstance());
    QFile::remove(ini);
    const QString box = QStringLiteral("Morvask ADI filemaker - ver 1.00 | exclamation | ");
    QCOMPARE(seen.size(), 4);
    QVERIFY2(seen[0].startsWith(box + QStringLiteral("Qervel's settings file \"%1\" cannot be read: it is a named "
                                                     "pipe (FIFO), not a regular file.")
                                          .arg(ini)),
             qPrintable(seen[0]));
    QCOMPARE(seen[1], QStringLiteral("dialog, source \"\""));
    QVERIFY2(seen[2].startsWith(box + QStringLiteral("The Qervel Source mdb file location is empty.")),
             qPrintable(seen[2]));
    QCOMPARE(seen[3], QStringLiteral("dialog, source \"\""));
}

void TestMainWindow::beforeTheFirstRun() {
    RunSettings values = RunValues(m_harness->WorkerPath("."));
    values.m_strOprCall.clear();
    QVERIFY(m_harness->Start(values));
    QCOMPARE(m_harness->Frame()->windowTitle(), QStringLiteral("Morvask ADI filemaker - ver 1.00 - - "));
    QCOMPARE(m_harness->app->DocTemplate()->Document()->GetTitle(), QStringLiteral("Morvask ADI filemaker Ver 1.00"));
    // Empty, not "0".
    QCOMPARE(m_harness->Counters(), QStringList(5, QString()));

    // The frame is created centred on whatever screen there is and keeps its place. Where the
    // form is wider than the client area the width stays and the form scrolls; the form is
    // lower than any frame created, which is lowered to it.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const FrameRect created = InitialFrameRect(screen.width(), screen.height());
    CMainFrame* frame = m_harness->Frame();
    QCOMPARE(frame->pos(), screen.topLeft() + QPoint(created.left, created.top));
    const QSize form = m_harness->View()->FormSize();
    const int clientWidth = m_harness->View()->width();
    if (form.width() > clientWidth) {
        QCOMPARE(frame->width(), created.width);
        QVERIFY(m_harness->View()->horizontalScrollBar()->maximum() > 0);
    } else {
        QCOMPARE(clientWidth, form.width());
    }
    QVERIFY(frame->height() < created.height);
    QCOMPARE(m_harness->View()->height(), form.height());

    // "__", centred, stands between the right-aligned start date and the end date.
    QList<QLabel*> between;
    for (QLabel* label : m_harness->View()->findChildren<QLabel*>())
        if (label->text() == QLatin1String("__")) between.append(label);
    QCOMPARE(between.size(), 1);
    QCOMPARE(between[0]->alignment(), Qt::AlignCenter);
    const QRect start = m_harness->View()->findChild<QLabel*>("startDate_1015")->geometry();
    const QRect end = m_harness->View()->findChild<QLabel*>("endDate_1016")->geometry();
    QVERIFY(start.right() < between[0]->geometry().center().x() && between[0]->geometry().center().x() < end.left());
}

void TestMainWindow::aRunShowsEveryCountAndLocksTheCommands() {
    QVERIFY(m_harness->Start());
    QVERIFY(QTest::qWaitForWindowActive(m_harness->Frame()));
    auto* makeAdiFile = m_harness->View()->findChild<QPushButton*>("makeAdiFile_1000");
    // The first tab stop has the focus when the form is shown, as a form gives it: Space starts a run.
    QCOMPARE(QApplication::focusWidget(), makeAdiFile);
    const QStringList runValues = m_harness->RunValueFields();
    m_harness->SetRunSteps({"sleep 0.3", "1 1 0 0 0", "sleep 0.5", "79 7 62 9 1"});
    auto enabled = [this, makeAdiFile] {
        return QList<bool>{makeAdiFile->isEnabled(),
                           m_harness->View()->findChild<QPushButton*>("viewAdiFile_1009")->isEnabled(),
                           m_harness->Frame()->NewAction()->isEnabled(), m_harness->Frame()->OpenAction()->isEnabled()};
    };
    QList<QStringList> seen;
    QList<bool> during;
    RunWithProbe([&] {
        if (seen.isEmpty() || seen.last() != m_harness->Counters()) seen.append(m_harness->Counters());
        during = enabled();
        // A click already on its way, and a direct call, must not start a second run.
        m_harness->View()->OnMakeAdiFile();
        makeAdiFile->click();
    });
    // Every state the counters pass through, each count in its own field, and the last values
    // kept after the run; the buttons and the menu are live again.
    QCOMPARE(seen.mid(0, 2), (QList<QStringList>{QStringList(5, "0"), {"1", "1", "0", "0", "0"}}));
    QCOMPARE(m_harness->Counters(), (QStringList{"79", "7", "62", "9", "1"}));
    QCOMPARE(during, QList<bool>(4, false));
    QCOMPARE(enabled(), QList<bool>(4, true));
    QCOMPARE(m_harness->Calls(ExporterCommandLine::kOutput), 1);
    QCOMPARE(m_harness->messages, QStringList{});
    QCOMPARE(m_harness->RunValueFields(), runValues);
    // The focus is back for the next run.
    QCOMPARE(QApplication::focusWidget(), makeAdiFile);
}

void TestMainWindow::aWriterFasterThanTheFormWaitsForIt() {
    // No trace to slow the writer down and a reader that takes every record as it comes: the
    // writer fills the pipe and has to wait for the reader, not fail.
    QVERIFY(m_harness->Start());
    m_harness->SetRunSteps({"flood 100000"});
    m_harness->Click("makeAdiFile_1000");
    QCOMPARE(m_harness->Calls(ExporterCommandLine::kOutput), 1);
    QCOMPARE(m_harness->messages, QStringList{});
    QCOMPARE(m_harness->Counters(), (QStringList{"100000", "0", "100000", "0", "0"}));
}

void TestMainWindow::newAfterARunKeepsItsCountsAndReopensTheTable() {
    // New keeps the counters of the run and opens again the prefix table that the run closed;
    // a second New finds it open.
    QVERIFY(m_harness->Start());
    const QStringList runValues = m_harness->RunValueFields();
    m_harness->SetRunSteps({"79 7 62 9 1"});
    m_harness->Click("makeAdiFile_1000");
    const QStringList counts{"79", "7", "62", "9", "1"};
    QCOMPARE(m_harness->Counters(), counts);
    QVERIFY(!m_harness->View()->GetFormRecordset()->IsOpen());
    m_harness->Frame()->NewAction()->trigger();
    QCOMPARE(m_harness->Counters(), counts);
    QCOMPARE(m_harness->RunValueFields(), runValues);
    QVERIFY(m_harness->View()->GetFormRecordset()->IsOpen());
    m_harness->Frame()->NewAction()->trigger();
    QCOMPARE(m_harness->Calls(ExporterCommandLine::kCheckRefdata), 2);
}

void TestMainWindow::closeDuringRunEndsTheRunFirst_data() {
    QTest::addColumn<bool>("byMenu");
    QTest::newRow("the close box") << false;
    // File > Exit was greyed with the rest of the menu during a run, so it did nothing.
    QTest::newRow("File > Exit") << true;
}

void TestMainWindow::closeDuringRunEndsTheRunFirst() {
    QFETCH(bool, byMenu);
    QVERIFY(m_harness->Start());
    m_harness->SetRunSteps({"1 0 1 0 0", "sleep 30"});
    bool visibleAfterClose = false;
    RunWithProbe([&] {
        // Closed once the exporter has reported, so that it is surely running its steps.
        if (m_harness->Counters().constFirst() == QLatin1String("1") && m_harness->View()->IsRunning()) {
            if (byMenu)
                m_harness->Frame()->ExitAction()->trigger();
            else
                m_harness->Frame()->close();
            visibleAfterClose = m_harness->Frame()->isVisible();
        }
    });
    // The run was asked to end and the form outlived it; then the window closed itself.
    QVERIFY(visibleAfterClose);
    QVERIFY(QFile::exists(m_harness->WorkerPath(QStringLiteral("signals.log"))));
    QTRY_VERIFY(!m_harness->Frame()->isVisible());
    QCOMPARE(m_harness->messages, QStringList{});
}

void TestMainWindow::failedRuns_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("counters");
    const QString adi = QStringLiteral("\"C:\\Qervel\\adiUpld2Morvask.adi\"");
    const QString earlier = QStringLiteral("An earlier ADIF file there is left as it was; make the file again.");
    const QString reinstall = QStringLiteral(" If it happens again, reinstall the program.");
    // Each failure the exporter reports or shows by its end, worded for the operator: the file
    // as they know it, the path as typed in the run-settings dialog, why and what to do; never
    // the exporter's name, its options or its exit status.
    QTest::newRow("a damaged source database: repair advice")
        << QStringList{"0 0 0 0 0", "failed damaged source data page 7 is listed twice"}
        << "The source database \"C:\\Qervel\\source.mdb\" is damaged: data page 7 is listed twice. Open it "
           "in Qervel and compact/repair it, then try again."
        << QStringList(5, "0");
    QTest::newRow("a reading interrupted from outside: no repair advice, the counts reached kept")
        << QStringList{"3 0 3 0 0", "failed interrupted source the reader was stopped by signal 9 (Killed)"}
        << "Reading the source database \"C:\\Qervel\\source.mdb\" was interrupted: the reader was stopped "
           "by signal 9 (Killed). The file itself is not affected. " +
               earlier
        << QStringList{"3", "0", "3", "0", "0"};
    // The log changed under every reading: no word of damage or repair, and the counters,
    // which a full walk may have filled, do not claim a finished run.
    QTest::newRow("a log that Qervel kept changing")
        << QStringList{"79 7 62 9 1", "failed log-changed source Qervel has it open and is saving contacts"}
        << "The source database \"C:\\Qervel\\source.mdb\" changed each time it was read: Qervel has it open and "
           "is saving contacts. No ADIF file was made, as it would have mixed contacts from before and after the "
           "change. An earlier ADIF file there is left as it was; make the file again, or close Qervel first."
        << QStringList(5, QString());
    // A control character from outside is shown written out, as the exporter shows it.
    QTest::newRow("a reason with an escape sequence")
        << QStringList{"failed not-found source gone\x1b[31m"}
        << "The source database \"C:\\Qervel\\source.mdb\" cannot be found: gone\\x1b[31m. Check the path in the "
           "run settings."
        << QStringList(5, "0");
    QTest::newRow("an ADIF file that cannot be written")
        << QStringList{"failed output-not-writable adif No space left on device"}
        << "The ADIF file " + adi +
               " could not be written: No space left on device. An earlier file there is left as "
               "it was. Check that its folder exists, that you may write to it and that the disk "
               "has room, then make the file again."
        << QStringList(5, "0");
    QTest::newRow("a drive the prefix does not map")
        << QStringList{"failed unusable-value reference Drive C: of \"C:\\\\Qervel\\\\Refdata.mdb\" is not mapped."}
        << "The reference database \"C:\\Qervel\\Refdata.mdb\" cannot be used: Drive C: of "
           "\"C:\\Qervel\\Refdata.mdb\" is not mapped."
        << QStringList(5, "0");
    QTest::newRow("a settings file that cannot be read (none in the test's prefix: no path to show)")
        << QStringList{"failed unreadable settings Permission denied"}
        << "The settings file cannot be read: Permission denied. Check that the file is there and that you may read it."
        << QStringList(5, "0");
    QTest::newRow("the exporter killed from outside: interrupted, with the signal")
        << QStringList{"3 0 3 0 0", "signal 9"}
        << "Making the ADIF file " + adi + " was interrupted: signal 9 (Killed). " + earlier
        << QStringList{"3", "0", "3", "0", "0"};
    QTest::newRow("the exporter ending itself on SIGTERM, as it does: interrupted as if by the signal")
        << QStringList{"exit 143"}
        << "Making the ADIF file " + adi + " was interrupted: signal 15 (Terminated). " + earlier
        << QStringList(5, "0");
    QTest::newRow("the exporter crashing: stopped unexpectedly, with the signal")
        << QStringList{"signal 11"}
        << "Making the ADIF file " + adi +
               " stopped unexpectedly (signal 11 (Segmentation fault)). Nothing of "
               "Qervel's has been changed. " +
               earlier + reinstall
        << QStringList(5, "0");
    QTest::newRow("arguments refused: the programs do not fit together")
        << QStringList{"exit 2"}
        << "Making the ADIF file " + adi +
               " is not possible: the parts of the program do not fit together. "
               "Reinstall the program."
        << QStringList(5, "0");
    QTest::newRow("a failure without a report")
        << QStringList{"exit 1"} << "Making the ADIF file " + adi + " failed without saying why. " + earlier + reinstall
        << QStringList(5, "0");
    QTest::newRow("a failure record torn off mid-line is refused: the end speaks, not a cut reason")
        << QStringList{"torn failed unreadable source Permission den", "exit 1"}
        << "Making the ADIF file " + adi + " failed without saying why. " + earlier + reinstall << QStringList(5, "0");
}

void TestMainWindow::failedRuns() {
    QFETCH(QStringList, steps);
    QFETCH(QString, message);
    QFETCH(QStringList, counters);
    QVERIFY(m_harness->Start(TypedRunValues()));
    m_harness->SetRunSteps(steps);
    m_harness->Click("makeAdiFile_1000");
    QCOMPARE(m_harness->messages, QStringList{message});
    QCOMPARE(m_harness->Counters(), counters);

    // The program carries on and the next run works.
    m_harness->SetRunSteps({"2 0 2 0 0"});
    m_harness->Click("makeAdiFile_1000");
    QCOMPARE(m_harness->messages.size(), 1);
    QCOMPARE(m_harness->Counters(), (QStringList{"2", "0", "2", "0", "0"}));
}

void TestMainWindow::aMissingExporterIsAnInstallationFault() {
    const QString missing = QDir(m_home.path()).filePath(QStringLiteral("lib/morvask-export"));
    m_harness->app->SetWorkerProgram(missing);
    QVERIFY(!m_harness->Start(TypedRunValues()));
    QCOMPARE(m_harness->messages,
             QStringList{"The program is incomplete: the file \"" + missing + "\" is missing. Reinstall the program."});
}

void TestMainWindow::recentFileList() {
    QVERIFY(m_harness->Start());
    QStringList files;
    for (int i = 0; i < 7; ++i) {
        // The seventh opens the fourth again, which moves it to the top instead of adding it.
        files.append(m_harness->WorkerPath(QStringLiteral("doc%1.txt").arg(i < 6 ? i : 3)));
        WriteFile(files.last(), {});
        m_harness->pathAnswers.push_back(files.last());
        m_harness->Frame()->OpenAction()->trigger();
    }
    const QStringList newestFirst{files[3], files[5], files[4], files[2]};
    QCOMPARE(m_harness->app->RecentFiles().Entries(), newestFirst);
    QStringList menuEntries;
    for (QAction* action : m_harness->Frame()->menuBar()->actions().constFirst()->menu()->actions())
        if (action->isVisible() && action->text().endsWith(QStringLiteral(".txt"))) menuEntries.append(action->text());
    QCOMPARE(menuEntries.size(), 4);
    CRecentFileList reread(QStringLiteral("Local AppWizard-Generated Applications"),
                           QStringLiteral("Morvask ADI filemaker - ver 1.00"));
    reread.ReadList();
    QCOMPARE(reread.Entries(), newestFirst);
}

void TestMainWindow::saveCommands_data() {
    QTest::addColumn<bool>("openFirst");
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<int>("questions");
    QTest::addColumn<QString>("said");
    QTest::addColumn<QString>("emptied");
    // Commands: "save", "saveas" or "run" ("Make adi file"), in turn. Answers: the names the
    // user gives when asked, in the exporter's folder, which holds the run's databases and ADIF
    // file; "<settings>" for the settings file, "" to cancel. Said: what the one message
    // starts with, "%1" the first answer.
    QTest::newRow("Save after Open asks for a path instead of emptying the opened file; then saves there")
        << true << QStringList{"save", "save"} << QStringList{"saved.doc"} << 1 << ""
        << "saved.doc";
    QTest::newRow("Save As writes a zero-byte file, leaving the opened one alone")
        << true << QStringList{"saveas", "save"} << QStringList{"saved.doc"} << 1 << ""
        << "saved.doc";
    QTest::newRow("the logging database is refused and the name asked for again")
        << false << QStringList{"saveas"} << QStringList{"source.mdb", ""} << 2 << "\"%1\" is the source database"
        << "";
    QTest::newRow("the reference database through a symbolic link")
        << false << QStringList{"saveas"} << QStringList{"soft.mdb", ""} << 2 << "\"%1\" is the reference database"
        << "";
    QTest::newRow("the settings file") << false << QStringList{"saveas"} << QStringList{"<settings>", ""} << 2
                                       << "\"%1\" is the settings file"
                                       << "";
    QTest::newRow("the ADIF file once a run wrote it, held from an earlier Save As")
        << false << QStringList{"saveas", "run", "save"} << QStringList{"adiUpld2Morvask.adi", ""} << 2
        << "\"%1\" is the ADIF file"
        << "";
    // Had the save opened the pipe for writing, it would wait here for a reader for ever.
    QTest::newRow("a named pipe is refused without waiting on it")
        << false << QStringList{"saveas"} << QStringList{"pipe"} << 1 << "Cannot save \"%1\": it is not a plain file"
        << "";
}

void TestMainWindow::saveCommands() {
    QFETCH(bool, openFirst);
    QFETCH(QStringList, commands);
    QFETCH(QStringList, answers);
    QFETCH(int, questions);
    QFETCH(QString, said);
    QFETCH(QString, emptied);
    const QString ini = SettingsFilePath();
    const auto path = [&](const QString& name) {
        return name == QLatin1String("<settings>") ? ini : name.isEmpty() ? name : m_harness->WorkerPath(name);
    };
    const QMap<QString, QByteArray> kept{{ini, "[Gen]\r\nOPRCALL=PA3ABC\r\n"},
                                         {path("source.mdb"), "the operator's log"},
                                         {path("Refdata.mdb"), "the prefix table"},
                                         {path("opened.txt"), "the user's own data"}};
    QVERIFY(QDir().mkpath(QFileInfo(ini).path()));
    for (auto it = kept.begin(); it != kept.end(); ++it) WriteFile(it.key(), it.value());
    QVERIFY(QFile::link(path("Refdata.mdb"), path("soft.mdb")));
    QCOMPARE(::mkfifo(QFile::encodeName(path("pipe")).constData(), 0600), 0);
    QVERIFY(m_harness->Start());
    if (openFirst) {
        m_harness->pathAnswers = {path("opened.txt")};
        m_harness->Frame()->OpenAction()->trigger();
        m_harness->pathQuestions = 0;
    }
    for (const QString& answer : answers) m_harness->pathAnswers.append(path(answer));
    m_harness->SetRunSteps({"1 0 1 0 0"});
    for (const QString& command : commands) {
        if (command == QLatin1String("run")) m_harness->Click("makeAdiFile_1000");
        if (command == QLatin1String("save")) m_harness->Frame()->SaveAction()->trigger();
        if (command == QLatin1String("saveas")) m_harness->Frame()->SaveAsAction()->trigger();
    }
    QCOMPARE(m_harness->pathQuestions, questions);
    if (said.isEmpty()) {
        QCOMPARE(m_harness->messages, QStringList{});
    } else {
        QCOMPARE(m_harness->messages.size(), 1);
        const QString start = said.arg(path(answers.constFirst()));
        QVERIFY2(m_harness->messages.constFirst().startsWith(start), qPrintable(m_harness->messages.constFirst()));
    }
    if (!emptied.isEmpty()) QCOMPARE(QFileInfo(path(emptied)).size(), qint64(0));
    for (auto it = kept.begin(); it != kept.end(); ++it) QCOMPARE(ReadFile(it.key()), it.value());
    if (commands.contains(QStringLiteral("run"))) QCOMPARE(ReadFile(path(answers.constFirst())), "fake export\r\n");
    QVERIFY(!QFileInfo(path("pipe")).isFile());
    QFile::remove(ini);
}

void TestMainWindow::makeAdiFileOnSampleLog() {
    // The sample log installed in a Wine prefix other than the environment's: the exporter has
    // to map the Windows paths through the same prefix as the program that starts it.
    const QDir sample(QStringLiteral(MORVASK_TEST_DATA "/sample"));
    const QString prefix = QDir(m_home.path()).filePath(QStringLiteral("Qervel prefix"));
    const QString folder = prefix + QStringLiteral("/drive_c/Qervel/");
    QVERIFY(QDir().mkpath(folder) && QDir().mkpath(prefix + QStringLiteral("/dosdevices")));
    QVERIFY(QFile::link(QStringLiteral("../drive_c"), prefix + QStringLiteral("/dosdevices/c:")));
    for (const QString& name : {QStringLiteral("source.mdb"), QStringLiteral("Refdata.mdb")})
        QVERIFY(QFile::copy(sample.filePath(name), folder + name));
    // An older file whose name differs only in letter case: the run writes its own name, and
    // View must open that one, not this.
    WriteFile(folder + QStringLiteral("ADIUPLD2MORVASK.ADI"), "an older file\r\n");

    m_harness->app->SetWorkerProgram(QStringLiteral(MORVASK_BIN_DIR "/morvask-export"));
    m_harness->app->SetPrefix(WinePrefix(prefix.toStdString()));
    QVERIFY(m_harness->Start(TypedRunValues()));
    // "View" hands the file to the desktop even before it is there, and says nothing itself.
    m_harness->Click("viewAdiFile_1009");
    // This program's standard output, which the exporter inherits, caught in a file for the run.
    const QString caught = QDir(m_home.path()).filePath(QStringLiteral("stdout"));
    std::fflush(stdout);
    const int savedStdout = ::dup(STDOUT_FILENO);
    const int caughtFd = ::open(caught.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    QVERIFY(savedStdout >= 0 && caughtFd >= 0 && ::dup2(caughtFd, STDOUT_FILENO) == STDOUT_FILENO);
    m_harness->Click("makeAdiFile_1000");
    std::fflush(stdout);
    ::dup2(savedStdout, STDOUT_FILENO);
    ::close(savedStdout);
    ::close(caughtFd);
    QCOMPARE(m_harness->messages, QStringList{});
    QCOMPARE(ReadFile(folder + QStringLiteral("adiUpld2Morvask.adi")),
             ReadFile(sample.filePath(QStringLiteral("expected.adi"))));

    // The length trace reached this program's standard output byte for byte, and nothing else did.
    QCOMPARE(ReadFile(caught).toStdString(), LengthTrace(ReadFile(sample.filePath("expected.adi")).toStdString()));

    // The counts of tests/data/sample/expected.counts.
    QCOMPARE(m_harness->Counters(), (QStringList{"79", "7", "62", "9", "1"}));

    // Both times as this machine names the file, not by the Windows path.
    m_harness->Click("viewAdiFile_1009");
    QCOMPARE(m_harness->opened.size(), 2);
    QCOMPARE(m_harness->opened[0], m_harness->opened[1]);
    QCOMPARE(QFileInfo(m_harness->opened[0].toLocalFile()).canonicalFilePath(),
             QFileInfo(folder + QStringLiteral("adiUpld2Morvask.adi")).canonicalFilePath());
}

void TestMainWindow::everyValueIsHeardWithItsCaption() {
    // The main window as a screen reader walks it, from the window down: every value with its
    // caption and as its text, before the first run and after one; the frames named by what
    // they surround; the end of the run held as a notification.
    QVERIFY(m_harness->Start(TypedRunValues()));
    const auto trimmed = [](QStringList lines) {
        for (QString& line : lines) line = line.trimmed();
        return lines;
    };
    const QStringList before = trimmed(AccessibleTree(m_harness->Frame()));
    m_harness->SetRunSteps({"79 7 62 9 1"});
    m_harness->Click("makeAdiFile_1000");
    const QStringList tree = AccessibleTree(m_harness->Frame());
    qInfo().noquote() << "The main window after a run, as assistive technology reads it:\n" + tree.join('\n');
    const QStringList after = trimmed(tree);

    // Before: the line before the first run, "" where there is nothing to compare; after: the
    // line after the run, "" where it is the same.
    struct Row {
        const char* what;
        QString before;
        QString after;
    };
    const Row rows[] = {
        {"a counter: its caption alone before the first run, then caption and value",
         R"(StaticText "Total QSOs" text "")", R"(StaticText "Total QSOs, 79" text "79")"},
        {"valid", R"(StaticText "Valid QSOs" text "")", R"(StaticText "Valid QSOs, 62" text "62")"},
        {"not valid", R"(StaticText "Not Valid QSOs" text "")", R"(StaticText "Not Valid QSOs, 7" text "7")"},
        {"not date range", R"(StaticText "Not Date Range" text "")", R"(StaticText "Not Date Range, 1" text "1")"},
        {"not same call", R"(StaticText "Not same OprCall" text "")", R"(StaticText "Not same OprCall, 9" text "9")"},
        {"a run value, as the operator typed it, from the start",
         R"(StaticText "OprCall for this run, PA3ABC" text "PA3ABC")",
         {}},
        {"source", R"(StaticText "Source mdb file, C:\Qervel\source.mdb" text "C:\Qervel\source.mdb")", {}},
        {"reference", R"(StaticText "Refdata mdb file, C:\Qervel\Refdata.mdb" text "C:\Qervel\Refdata.mdb")", {}},
        {"output",
         R"(StaticText "adi filename, C:\Qervel\adiUpld2Morvask.adi" text "C:\Qervel\adiUpld2Morvask.adi")",
         {}},
        {"start date", R"(StaticText "Start date, 19451116" text "19451116")", {}},
        {"end date", R"(StaticText "End date, 20301231" text "20301231")", {}},
        {"a frame, named by what it surrounds", R"(Grouping "QSO counts")", {}},
        {"call frame", R"(Grouping "Operator call")", {}},
        {"files frame", R"(Grouping "Files of this run")", {}},
        {"a button", R"(Button "Make adi file")", {}},
        {"view", R"(Button "View")", {}},
        {"the run's end, held once it has been told",
         {},
         R"(Notification "Make adi file done: Total QSOs 79, Valid QSOs 62, Not Valid QSOs 7, Not Date Range 1, )"
         R"(Not same OprCall 9.")"},
    };
    for (const Row& row : rows) {
        const QString expected = row.after.isEmpty() ? row.before : row.after;
        QVERIFY2(row.before.isEmpty() || before.contains(row.before),
                 qPrintable(QStringLiteral("before the run, %1: %2").arg(row.what, row.before)));
        QVERIFY2(after.contains(expected), qPrintable(QStringLiteral("after the run, %1: %2").arg(row.what, expected)));
    }
}

void TestMainWindow::eachRunsEndIsToldOnce_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("told");
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("boxes");
    // Told: what a screen reader is given to speak during the run, however many counts come;
    // status: what it reads from the form afterwards.
    const QString flood =
        "Make adi file done: Total QSOs 100000, Valid QSOs 100000, Not Valid QSOs 0, Not Date Range 0, Not same "
        "OprCall 0.";
    QTest::newRow("a hundred thousand counts: the totals, once")
        << QStringList{"flood 100000"} << QStringList{flood} << flood << 0;
    QTest::newRow("a failure: told by its message box alone, which takes the focus; the status holds it")
        << QStringList{"3 0 3 0 0", "failed damaged source data page 7 is listed twice"} << QStringList{}
        << "Make adi file failed: The source database \"C:\\Qervel\\source.mdb\" is damaged: data page 7 is listed "
           "twice. Open it in Qervel and compact/repair it, then try again."
        << 1;
}

void TestMainWindow::eachRunsEndIsToldOnce() {
    QFETCH(QStringList, steps);
    QFETCH(QStringList, told);
    QFETCH(QString, status);
    QFETCH(int, boxes);
    QVERIFY(m_harness->Start(TypedRunValues()));
    auto* announcer = m_harness->View()->findChild<CRunAnnouncer*>();
    QVERIFY(announcer);
    const QString next =
        "Make adi file done: Total QSOs 2, Valid QSOs 2, Not Valid QSOs 0, Not Date Range 0, Not same OprCall 0.";
    // This run, then one that succeeds: each told on its own.
    for (const auto& [runSteps, runTold, runStatus] :
         {std::tuple{steps, told, status}, std::tuple{QStringList{"2 0 2 0 0"}, QStringList{next}, next}}) {
        m_harness->SetRunSteps(runSteps);
        QSignalSpy spoken(announcer, &CRunAnnouncer::Told);
        m_harness->Click("makeAdiFile_1000");
        QStringList texts;
        for (const QList<QVariant>& arguments : spoken) texts.append(arguments.constFirst().toString());
        QCOMPARE(texts, runTold);
        // What a screen reader reads of the status afterwards, and the notification it speaks.
        QAccessibleInterface* status = QAccessible::queryAccessibleInterface(announcer);
        QCOMPARE(status->role(), QAccessible::Notification);
        QCOMPARE(status->text(QAccessible::Name), runStatus);
        QStringList lines;
        DumpAccessibleTree(status, 0, lines);
        QCOMPARE(lines.mid(1), QStringList{QStringLiteral(R"(  StaticText "%1")").arg(runStatus)});
    }
    QCOMPARE(m_harness->messages.size(), boxes);
}

void TestMainWindow::theKeyboardReachesEveryCommand_data() {
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("outcome");
    // Keys go to the open menu if there is one, else to the widget with the focus. The
    // outcome: the focus, then how many runs, View commands, questions for a file name and
    // openings of the prefix table there were, and whether the window is still there.
    QTest::newRow("the window comes up on Make adi file; Space runs")
        << QStringList{"Space"} << "makeAdiFile_1000, runs 1, views 0, asked 0, prefix table 1, shown";
    QTest::newRow("Tab goes to View; Space opens the file")
        << QStringList{"Tab", "Space"} << "viewAdiFile_1009, runs 0, views 1, asked 0, prefix table 1, shown";
    QTest::newRow("Tab goes round the two buttons, Shift+Tab back")
        << QStringList{"Tab", "Tab", "Shift+Tab"}
        << "viewAdiFile_1009, runs 0, views 0, asked 0, prefix table 1, shown";
    QTest::newRow("Alt+F, O: Open asks for a file")
        << QStringList{"Alt+F", "O"} << "makeAdiFile_1000, runs 0, views 0, asked 1, prefix table 1, shown";
    QTest::newRow("Alt+F, S: Save of a new document asks for a name")
        << QStringList{"Alt+F", "S"} << "makeAdiFile_1000, runs 0, views 0, asked 1, prefix table 1, shown";
    QTest::newRow("Alt+F, A: Save As asks for a name")
        << QStringList{"Alt+F", "A"} << "makeAdiFile_1000, runs 0, views 0, asked 1, prefix table 1, shown";
    QTest::newRow("Alt+F, N after a run: New opens the prefix table the run closed")
        << QStringList{"Space", "Alt+F", "N"} << "makeAdiFile_1000, runs 1, views 0, asked 0, prefix table 2, shown";
    QTest::newRow("Escape leaves the menu and the menu bar without a command; Space runs")
        << QStringList{"Alt+F", "Escape", "Escape", "Space"}
        << "makeAdiFile_1000, runs 1, views 0, asked 0, prefix table 1, shown";
    QTest::newRow("Alt+F, X: Exit closes the window")
        << QStringList{"Alt+F", "X"} << "none, runs 0, views 0, asked 0, prefix table 1, closed";
}

void TestMainWindow::theKeyboardReachesEveryCommand() {
    QFETCH(QStringList, keys);
    QFETCH(QString, outcome);
    QVERIFY(m_harness->Start());
    m_harness->SetRunSteps({"1 0 1 0 0"});
    QApplication::setActiveWindow(m_harness->Frame());
    QVERIFY(QTest::qWaitForWindowActive(m_harness->Frame()));
    for (const QString& key : keys) {
        QWidget* target = QApplication::activePopupWidget();
        if (!target) target = QApplication::focusWidget();
        QVERIFY2(target, qPrintable(key));
        const QKeyCombination combination = QKeySequence::fromString(key)[0];
        QTest::keyClick(target, combination.key(), combination.keyboardModifiers());
        // The offscreen platform hands the activation to a menu once it has closed, when the
        // event loop next runs (as a run or the prefix check does); a desktop gives it back
        // to the window, as done here.
        QCoreApplication::processEvents();
        const QWidget* active = QApplication::activeWindow();
        if (m_harness->Frame()->isVisible() && (!active || !active->isVisible()))
            QApplication::setActiveWindow(m_harness->Frame());
    }
    const QWidget* focus = m_harness->Frame()->isVisible() ? QApplication::focusWidget() : nullptr;
    QCOMPARE(QStringLiteral("%1, runs %2, views %3, asked %4, prefix table %5, %6")
                 .arg(focus ? focus->objectName() : QStringLiteral("none"))
                 .arg(m_harness->Calls(ExporterCommandLine::kOutput))
                 .arg(m_harness->opened.size())
                 .arg(m_harness->pathQuestions)
                 .arg(m_harness->Calls(ExporterCommandLine::kCheckRefdata))
                 .arg(m_harness->Frame()->isVisible() ? "shown" : "closed"),
             outcome);
}

void TestMainWindow::messageBoxesAnswerTheKeyboard_data() {
    QTest::addColumn<bool>("aboutBox");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("seen");
    // Seen: the box as a screen reader meets it (role, name, the button with the focus, and
    // whether its text is read), and whether the key closed it.
    const QString message = R"(AlertMessage "Morvask ADI filemaker - ver 1.00", focus on "OK", text read, closed)";
    QTest::newRow("a message box: Return") << false << int(Qt::Key_Return) << message;
    QTest::newRow("a message box: Space on its button") << false << int(Qt::Key_Space) << message;
    QTest::newRow("a message box: Escape") << false << int(Qt::Key_Escape) << message;
    const QString about = R"(Dialog "About morvask", focus on "OK", text read, closed)";
    QTest::newRow("the about box: Return") << true << int(Qt::Key_Return) << about;
    QTest::newRow("the about box: Escape") << true << int(Qt::Key_Escape) << about;
}

void TestMainWindow::messageBoxesAnswerTheKeyboard() {
    QFETCH(bool, aboutBox);
    QFETCH(int, key);
    QFETCH(QString, seen);
    // The real boxes, as the program shows them.
    CMorvaskApp app;
    const QString text =
        aboutBox ? QStringLiteral("morvask Version 1.0")
                 : QStringLiteral("The ADIF file \"C:\\Qervel\\adiUpld2Morvask.adi\" could not be written.");
    QString met;
    int ticks = 0;
    QTimer driver;
    driver.setInterval(20);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        if (met.isEmpty()) {
            QAccessibleInterface* box = QAccessible::queryAccessibleInterface(modal);
            QStringList lines;
            DumpAccessibleTree(box, 0, lines);
            const QWidget* focus = QApplication::focusWidget();
            met = QStringLiteral("%1 \"%2\", focus on \"%3\", %4")
                      .arg(QString::fromLatin1(QMetaEnum::fromType<QAccessible::Role>().valueToKey(box->role())),
                           box->text(QAccessible::Name),
                           focus ? QAccessible::queryAccessibleInterface(const_cast<QWidget*>(focus))
                                       ->text(QAccessible::Name)
                                 : QString(),
                           lines.filter(QStringLiteral("StaticText \"%1\"").arg(text)).size() == 1 ? "text read"
                                                                                                   : "text not read");
            QTest::keyClick(focus ? const_cast<QWidget*>(focus) : modal, Qt::Key(key));
        } else if (++ticks > 50) {
            // The key left it open: closed here, so that the test ends and says so.
            met += QStringLiteral(", left open");
            modal->close();
        }
    });
    driver.start();
    if (aboutBox) {
        app.OnAppAbout();
    } else {
        app.ShowMessage(text);
    }
    if (!met.endsWith(QLatin1String("left open"))) met += QStringLiteral(", closed");
    QCOMPARE(met, seen);
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
