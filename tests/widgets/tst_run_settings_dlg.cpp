#include "WidgetTestSupport.h"

#include "settings/CRunSettingsDlg.h"
#include "settings/WinePrefix.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <optional>

// The run-settings dialog: what it shows from the settings file, how a browse refreshes it,
// and what OK hands over.
class TestRunSettingsDlg : public QObject {
    Q_OBJECT
private slots:
    void init();
    void withoutSettingsFile();
    void fromSettingsFile();
    void focusAndTabOrder();
    void browseRefresh_data();
    void browseRefresh();
    void fileDialogStartsFromHeldValue_data();
    void fileDialogStartsFromHeldValue();
    void okTakesTextsUnchanged();
    void cancelKeepsHeldValues();

private:
    void WriteSettingsFile(const QByteArray& text);
    std::unique_ptr<CRunSettingsDlg> MakeDialog();
    QLineEdit* Edit(CRunSettingsDlg& dialog, const char* name);
    void Click(CRunSettingsDlg& dialog, const char* name);

    std::unique_ptr<QTemporaryDir> m_home;
    QString m_prefix;
    QStringList m_initialNames;
    std::deque<std::optional<QString>> m_choices;
};

void TestRunSettingsDlg::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    m_prefix = QDir(m_home->path()).filePath(QStringLiteral("wine"));
    QDir().mkpath(m_prefix + QStringLiteral("/drive_c/windows"));
    m_initialNames.clear();
    m_choices.clear();
}

void TestRunSettingsDlg::WriteSettingsFile(const QByteArray& text)
{
    QFile file(m_prefix + QStringLiteral("/drive_c/windows/Qvl2007.ini"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

std::unique_ptr<CRunSettingsDlg> TestRunSettingsDlg::MakeDialog()
{
    auto dialog = std::make_unique<CRunSettingsDlg>(WinePrefix(m_prefix.toStdString()), QIcon());
    dialog->SetFileChooser([this](QWidget*, const QString& initialName) {
        m_initialNames.append(initialName);
        std::optional<QString> choice;
        if (!m_choices.empty()) {
            choice = m_choices.front();
            m_choices.pop_front();
        }
        return choice;
    });
    dialog->OnInitDialog();
    return dialog;
}

QLineEdit* TestRunSettingsDlg::Edit(CRunSettingsDlg& dialog, const char* name)
{
    return dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
}

void TestRunSettingsDlg::Click(CRunSettingsDlg& dialog, const char* name)
{
    auto* button = dialog.findChild<QPushButton*>(QString::fromLatin1(name));
    QVERIFY2(button, name);
    button->click();
}

void TestRunSettingsDlg::withoutSettingsFile()
{
    const auto dialog = MakeDialog();
    QCOMPARE(Edit(*dialog, "sourcePath_1002")->text(), QString());
    QCOMPARE(Edit(*dialog, "oprCall_1004")->text(), QString());
    QCOMPARE(Edit(*dialog, "refdataPath_1003")->text(), QStringLiteral("\\Refdata.mdb"));
    QCOMPARE(Edit(*dialog, "startDate_1012")->text(), QStringLiteral("19451116"));
    QCOMPARE(Edit(*dialog, "endDate_1013")->text(), QStringLiteral("20301231"));
    QCOMPARE(dialog->windowTitle(), QStringLiteral("\\Refdata.mdb"));
    QCOMPARE(dialog->Values().m_strAdiPath, std::string("\\adiUpld2Morvask.adi"));
}

void TestRunSettingsDlg::fromSettingsFile()
{
    WriteSettingsFile("[Dir]\r\nDATAPATH=C:\\Qervel\\Data\\log.mdb \t\r\nPGMPATH=C:\\Qervel\\\r\n"
                      "[Gen]\r\nOPRCALL=PA3ABC  \r\n");
    const auto dialog = MakeDialog();
    QCOMPARE(Edit(*dialog, "sourcePath_1002")->text(), QStringLiteral("C:\\Qervel\\Data\\log.mdb"));
    QCOMPARE(Edit(*dialog, "oprCall_1004")->text(), QStringLiteral("PA3ABC"));
    QCOMPARE(Edit(*dialog, "refdataPath_1003")->text(), QStringLiteral("C:\\Qervel\\Refdata.mdb"));
    QCOMPARE(dialog->windowTitle(), QStringLiteral("C:\\Qervel\\Refdata.mdb"));
    QCOMPARE(dialog->Values().m_strAdiPath, std::string("C:\\Qervel\\adiUpld2Morvask.adi"));
}

void TestRunSettingsDlg::focusAndTabOrder()
{
    const auto dialog = MakeDialog();
    dialog->show();
    QApplication::setActiveWindow(dialog.get());
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    const QStringList expected{"oprCall_1004",    "startDate_1012", "endDate_1013",
                               "sourcePath_1002", "refdataPath_1003", "ok_1",
                               "cancel_2",        "browseSourceMdb_1000", "browseRefdataMdb_1001",
                               "oprCall_1004"};
    QStringList visited;
    for (int i = 0; i < expected.size(); ++i) {
        visited.append(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited, expected);
}

void TestRunSettingsDlg::browseRefresh_data()
{
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("title");
    // Actions: "type FIELD TEXT", "source CHOICE" or "refdata CHOICE" (CHOICE "-" cancels).
    // Fields: source, refdata, call, start, end after the actions.
    QTest::newRow("a typed date is replaced by the held date after a cancelled browse")
        << QStringList{"type startDate_1012 20120101", "source -"}
        << QStringList{"C:\\Log\\log.mdb", "C:\\Pgm\\Refdata.mdb", "PA3ABC", "19451116", "20301231"}
        << "C:\\Pgm\\Refdata.mdb";
    QTest::newRow("a typed call is replaced after a successful browse")
        << QStringList{"type oprCall_1004 ON4XYZ", "source /data/other.mdb"}
        << QStringList{"/data/other.mdb", "C:\\Pgm\\Refdata.mdb", "PA3ABC", "19451116", "20301231"}
        << "C:\\Pgm\\Refdata.mdb";
    QTest::newRow("source then reference browse keeps both chosen paths")
        << QStringList{"source /data/a.mdb", "refdata /data/ref.mdb"}
        << QStringList{"/data/a.mdb", "/data/ref.mdb", "PA3ABC", "19451116", "20301231"} << "/data/ref.mdb";
    QTest::newRow("a cancelled reference browse keeps the earlier choice and the caption")
        << QStringList{"refdata /data/ref.mdb", "refdata -"}
        << QStringList{"C:\\Log\\log.mdb", "/data/ref.mdb", "PA3ABC", "19451116", "20301231"} << "/data/ref.mdb";
    QTest::newRow("a typed path is replaced even in the browsed field when the browse is cancelled")
        << QStringList{"type sourcePath_1002 D:\\typed.mdb", "source -"}
        << QStringList{"C:\\Log\\log.mdb", "C:\\Pgm\\Refdata.mdb", "PA3ABC", "19451116", "20301231"}
        << "C:\\Pgm\\Refdata.mdb";
}

void TestRunSettingsDlg::browseRefresh()
{
    QFETCH(QStringList, actions);
    QFETCH(QStringList, fields);
    QFETCH(QString, title);
    WriteSettingsFile("[Dir]\nDATAPATH=C:\\Log\\log.mdb\nPGMPATH=C:\\Pgm\n[Gen]\nOPRCALL=PA3ABC\n");
    const auto dialog = MakeDialog();
    for (const QString& action : actions) {
        const QStringList words = action.split(QLatin1Char(' '));
        if (words[0] == QLatin1String("type")) {
            Edit(*dialog, words[1].toLatin1().constData())->setText(words[2]);
            continue;
        }
        m_choices.push_back(words[1] == QLatin1String("-") ? std::nullopt : std::optional<QString>(words[1]));
        Click(*dialog, words[0] == QLatin1String("source") ? "browseSourceMdb_1000" : "browseRefdataMdb_1001");
    }
    const QStringList shown{Edit(*dialog, "sourcePath_1002")->text(), Edit(*dialog, "refdataPath_1003")->text(),
                            Edit(*dialog, "oprCall_1004")->text(), Edit(*dialog, "startDate_1012")->text(),
                            Edit(*dialog, "endDate_1013")->text()};
    QCOMPARE(shown, fields);
    QCOMPARE(dialog->windowTitle(), title);
}

void TestRunSettingsDlg::fileDialogStartsFromHeldValue_data()
{
    QTest::addColumn<QByteArray>("settingsFile");
    QTest::addColumn<QString>("expectedInitialName");
    QTest::newRow("a held host path, not the text typed since")
        << QByteArray("[Dir]\nDATAPATH=/data/log.mdb\n") << "/data/log.mdb";
    QTest::newRow("an empty held value opens without a preset name") << QByteArray("") << "";
}

void TestRunSettingsDlg::fileDialogStartsFromHeldValue()
{
    QFETCH(QByteArray, settingsFile);
    QFETCH(QString, expectedInitialName);
    WriteSettingsFile(settingsFile);
    const auto dialog = MakeDialog();
    Edit(*dialog, "sourcePath_1002")->setText(QStringLiteral("/typed/elsewhere.mdb"));
    Click(*dialog, "browseSourceMdb_1000");
    QCOMPARE(m_initialNames, QStringList{expectedInitialName});
}

void TestRunSettingsDlg::okTakesTextsUnchanged()
{
    const auto dialog = MakeDialog();
    Edit(*dialog, "sourcePath_1002")->setText(QStringLiteral("  C:\\Log\\log.mdb  "));
    Edit(*dialog, "refdataPath_1003")->setText(QStringLiteral("C:\\Pgm\\Refdata.mdb "));
    Edit(*dialog, "oprCall_1004")->setText(QStringLiteral("PA3ABC "));
    Edit(*dialog, "startDate_1012")->setText(QStringLiteral("2012"));
    Edit(*dialog, "endDate_1013")->setText(QString());
    Click(*dialog, "ok_1");
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    const RunSettings values = dialog->Values();
    QCOMPARE(values.m_strSourcePath, std::string("  C:\\Log\\log.mdb  "));
    QCOMPARE(values.m_strRefdataPath, std::string("C:\\Pgm\\Refdata.mdb "));
    QCOMPARE(values.m_strOprCall, std::string("PA3ABC "));
    QCOMPARE(values.m_strStartDate, std::string("2012"));
    QCOMPARE(values.m_strEndDate, std::string());
    // The output path is not a field: it stays as the settings file gave it.
    QCOMPARE(values.m_strAdiPath, std::string("\\adiUpld2Morvask.adi"));
}

void TestRunSettingsDlg::cancelKeepsHeldValues()
{
    WriteSettingsFile("[Dir]\nDATAPATH=C:\\Log\\log.mdb\n");
    const auto dialog = MakeDialog();
    Edit(*dialog, "sourcePath_1002")->setText(QStringLiteral("D:\\typed.mdb"));
    Click(*dialog, "cancel_2");
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
    QCOMPARE(dialog->Values().m_strSourcePath, std::string("C:\\Log\\log.mdb"));
}

QTEST_MAIN(TestRunSettingsDlg)
#include "tst_run_settings_dlg.moc"
