#include "settings/CRunSettingsDlg.h"
#include "tests/support/FileBytes.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

// The run-settings dialog: what it shows from the settings file, how a browse refreshes it,
// and what OK hands over.
class TestRunSettingsDlg : public QObject {
    Q_OBJECT
private slots:
    void init();
    void fillAndBrowse_data();
    void fillAndBrowse();
    void focusAndTabOrder();
    void okTakesTextsUnchanged();

private:
    std::unique_ptr<CRunSettingsDlg> MakeDialog(const QByteArray& settingsFile);
    // The edits in the order source, reference, call, start date, end date.
    static QList<QLineEdit*> Edits(const CRunSettingsDlg& dialog);

    std::unique_ptr<QTemporaryDir> m_home;
    QStringList m_initialNames;
    QList<std::optional<QString>> m_choices;
};

void TestRunSettingsDlg::init() {
    m_home = std::make_unique<QTemporaryDir>();
    m_initialNames.clear();
    m_choices.clear();
}

std::unique_ptr<CRunSettingsDlg> TestRunSettingsDlg::MakeDialog(const QByteArray& settingsFile) {
    const QString prefix = QDir(m_home->path()).filePath(QStringLiteral("wine"));
    QDir().mkpath(prefix + QStringLiteral("/drive_c/windows"));
    if (!settingsFile.isEmpty())
        WriteFile(prefix.toStdString() + "/drive_c/windows/Qvl2007.ini", settingsFile.toStdString());
    auto dialog = std::make_unique<CRunSettingsDlg>(WinePrefix(prefix.toStdString()), QIcon());
    dialog->SetFileChooser([this](QWidget*, const QString& initialName) {
        m_initialNames.append(initialName);
        return m_choices.takeFirst();
    });
    dialog->OnInitDialog();
    return dialog;
}

QList<QLineEdit*> TestRunSettingsDlg::Edits(const CRunSettingsDlg& dialog) {
    QList<QLineEdit*> edits;
    for (const char* name : {"sourcePath_1002", "refdataPath_1003", "oprCall_1004", "startDate_1012", "endDate_1013"})
        edits.append(dialog.findChild<QLineEdit*>(QString::fromLatin1(name)));
    return edits;
}

void TestRunSettingsDlg::fillAndBrowse_data() {
    QTest::addColumn<QByteArray>("settingsFile");
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("initialNames");
    // Actions: "type FIELD TEXT" (FIELD an index into the fields), "source CHOICE" or
    // "refdata CHOICE" for a browse, CHOICE "-" cancelling the file dialog.
    const QByteArray ini("[Dir]\nDATAPATH=/log/log.mdb\nPGMPATH=/pgm\\\n[Gen]\nOPRCALL=PA3ABC\n");
    const QStringList held{"/log/log.mdb", "/pgm\\Refdata.mdb", "PA3ABC", "19451116", "20301231"};
    QTest::newRow(
        "without a settings file: empty source and call, the default dates; a browse from an "
        "empty path has no preset name")
        << QByteArray() << QStringList{"source -"} << QStringList{"", "\\Refdata.mdb", "", "19451116", "20301231"}
        << "\\Refdata.mdb" << QStringList{""};
    QTest::newRow("from the settings file, the caption the reference path")
        << ini << QStringList{} << held << "/pgm\\Refdata.mdb" << QStringList{};
    QTest::newRow("a typed date is replaced by the held date after a cancelled browse")
        << ini << QStringList{"type 3 20120101", "source -"} << held << "/pgm\\Refdata.mdb"
        << QStringList{"/log/log.mdb"};
    QTest::newRow("the file dialog starts from the held path, not the typed one; typing is replaced")
        << ini << QStringList{"type 0 /typed.mdb", "type 2 ON4XYZ", "source /data/a.mdb"}
        << QStringList{"/data/a.mdb", "/pgm\\Refdata.mdb", "PA3ABC", "19451116", "20301231"} << "/pgm\\Refdata.mdb"
        << QStringList{"/log/log.mdb"};
    QTest::newRow("source then reference browse keeps both paths; the caption follows")
        << ini << QStringList{"source /data/a.mdb", "refdata /data/ref.mdb", "refdata -"}
        << QStringList{"/data/a.mdb", "/data/ref.mdb", "PA3ABC", "19451116", "20301231"} << "/data/ref.mdb"
        << QStringList{"/log/log.mdb", "/pgm\\Refdata.mdb", "/data/ref.mdb"};
}

void TestRunSettingsDlg::fillAndBrowse() {
    QFETCH(QByteArray, settingsFile);
    QFETCH(QStringList, actions);
    QFETCH(QStringList, fields);
    QFETCH(QString, caption);
    QFETCH(QStringList, initialNames);
    const auto dialog = MakeDialog(settingsFile);
    for (const QString& action : actions) {
        const QStringList words = action.split(QLatin1Char(' '));
        if (words[0] == QLatin1String("type")) {
            Edits(*dialog)[words[1].toInt()]->setText(words[2]);
            continue;
        }
        m_choices.push_back(words[1] == QLatin1String("-") ? std::nullopt : std::optional<QString>(words[1]));
        dialog
            ->findChild<QPushButton*>(words[0] == QLatin1String("source") ? "browseSourceMdb_1000"
                                                                          : "browseRefdataMdb_1001")
            ->click();
    }
    QStringList texts;
    for (const QLineEdit* edit : Edits(*dialog)) texts.append(edit->text());
    QCOMPARE(texts, fields);
    QCOMPARE(dialog->windowTitle(), caption);
    QCOMPARE(m_initialNames, initialNames);
}

void TestRunSettingsDlg::focusAndTabOrder() {
    const auto dialog = MakeDialog({});
    dialog->show();
    QApplication::setActiveWindow(dialog.get());
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    QStringList visited;
    for (int i = 0; i < 10; ++i) {
        visited.append(QApplication::focusWidget()->objectName());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited,
             (QStringList{"oprCall_1004", "startDate_1012", "endDate_1013", "sourcePath_1002", "refdataPath_1003",
                          "ok_1", "cancel_2", "browseSourceMdb_1000", "browseRefdataMdb_1001", "oprCall_1004"}));
}

void TestRunSettingsDlg::okTakesTextsUnchanged() {
    const auto dialog = MakeDialog({});
    const QStringList typed{" C:\\Log\\log.mdb ", "C:\\Pgm\\Refdata.mdb ", "PA3ABC ", "2012", ""};
    for (int i = 0; i < typed.size(); ++i) Edits(*dialog)[i]->setText(typed[i]);
    dialog->findChild<QPushButton*>("ok_1")->click();
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    // Blanks included and nothing tested; the output path is no field and stays as it was read.
    const RunSettings held = dialog->Values();
    QCOMPARE(QString::fromStdString(held.m_strSourcePath + '|' + held.m_strRefdataPath + '|' + held.m_strAdiPath + '|' +
                                    held.m_strOprCall + '|' + held.m_strStartDate + '|' + held.m_strEndDate),
             QStringLiteral(" C:\\Log\\log.mdb |C:\\Pgm\\Refdata.mdb |\\adiUpld2Morvask.adi|PA3ABC |2012|"));
}

QTEST_MAIN(TestRunSettingsDlg)
#include "tst_run_settings_dlg.moc"
