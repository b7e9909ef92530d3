#include "WidgetTestSupport.h"

#include "settings/WinePrefix.h"
#include "ui/CMorvaskView.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QtTest>

// The whole program on the sample log, installed in a Wine prefix of its own: start-up through
// the real exporter, one click on "Make adi file", and the file compared byte for byte with the
// expected export.
class TestEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void makeAdiFileOnSampleLog();

private:
    QTemporaryDir m_home;
};

void TestEndToEnd::initTestCase()
{
    IsolateUserEnvironment(m_home);
}

static QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestEndToEnd::makeAdiFileOnSampleLog()
{
    const QString exporter = QStringLiteral(MORVASK_BIN_DIR "/morvask-export");
    if (!QFileInfo(exporter).isExecutable())
        QSKIP("morvask-export is not built in this tree");
    const QDir sample(QStringLiteral(MORVASK_TEST_DATA "/sample"));

    // The environment's WINEPREFIX points elsewhere: the exporter has to map the Windows
    // paths through the same prefix as the program that starts it.
    const QString prefix = QDir(m_home.path()).filePath(QStringLiteral("Qervel prefix"));
    const QString folder = prefix + QStringLiteral("/drive_c/Qervel");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(QDir().mkpath(prefix + QStringLiteral("/dosdevices")));
    QVERIFY(QFile::link(QStringLiteral("../drive_c"), prefix + QStringLiteral("/dosdevices/c:")));
    QVERIFY(QFile::copy(sample.filePath(QStringLiteral("source.mdb")), folder + QStringLiteral("/source.mdb")));
    QVERIFY(QFile::copy(sample.filePath(QStringLiteral("Refdata.mdb")), folder + QStringLiteral("/Refdata.mdb")));

    AppHarness harness;
    harness.app->SetWorkerProgram(exporter);
    harness.app->SetPrefix(WinePrefix(prefix.toStdString()));
    RunSettings values;
    values.m_strSourcePath = "C:\\Qervel\\source.mdb";
    values.m_strRefdataPath = "C:\\Qervel\\Refdata.mdb";
    values.m_strAdiPath = "C:\\Qervel\\adiUpld2Morvask.adi";
    values.m_strOprCall = "PA3ABC";
    values.m_strStartDate = "19451116";
    values.m_strEndDate = "20301231";
    QVERIFY(harness.Start(values));
    QCOMPARE(harness.messages, QStringList{});

    QTest::mouseClick(harness.View()->findChild<QPushButton*>(QStringLiteral("makeAdiFile_1000")), Qt::LeftButton);
    QCOMPARE(harness.messages, QStringList{});
    const QByteArray written = ReadAll(folder + QStringLiteral("/adiUpld2Morvask.adi"));
    QVERIFY(!written.isEmpty());
    QCOMPARE(written, ReadAll(sample.filePath(QStringLiteral("expected.adi"))));

    QStringList expectedCounts;
    const QString counts = QString::fromUtf8(ReadAll(sample.filePath(QStringLiteral("expected.counts"))));
    for (const char* label : {"Total QSOs", "Not Valid QSOs", "Valid QSOs", "Not same OprCall", "Not Date Range"}) {
        const QRegularExpression line(QStringLiteral("^%1: (\\S+)$").arg(label), QRegularExpression::MultilineOption);
        expectedCounts.append(line.match(counts).captured(1));
    }
    QCOMPARE(harness.Counters(), expectedCounts);
}

QTEST_MAIN(TestEndToEnd)
#include "tst_end_to_end.moc"
