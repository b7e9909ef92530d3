#include "WidgetTestSupport.h"

#include "ui/CMorvaskView.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QtTest>

// The whole program on the sample log: start-up through the real exporter, one click on
// "Make adi file", and the file compared byte for byte with the expected export.
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

    AppHarness harness;
    harness.app->SetWorkerProgram(exporter);
    RunSettings values;
    values.m_strSourcePath = sample.filePath(QStringLiteral("source.mdb")).toStdString();
    values.m_strRefdataPath = sample.filePath(QStringLiteral("Refdata.mdb")).toStdString();
    values.m_strAdiPath = QDir(m_home.path()).filePath(QStringLiteral("adiUpld2Morvask.adi")).toStdString();
    values.m_strOprCall = "PA3ABC";
    values.m_strStartDate = "19451116";
    values.m_strEndDate = "20301231";
    QVERIFY(harness.Start(values));
    QCOMPARE(harness.messages, QStringList{});

    QTest::mouseClick(harness.View()->findChild<QPushButton*>(QStringLiteral("makeAdiFile_1000")), Qt::LeftButton);
    QCOMPARE(harness.messages, QStringList{});
    const QByteArray written = ReadAll(QString::fromStdString(values.m_strAdiPath));
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
