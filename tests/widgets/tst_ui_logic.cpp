#include "ui/CDialogUnits.h"
#include "ui/FrameGeometry.h"
#include "ui/RunCounts.h"

#include <QtTest>

// The plain rules under the windows: where the frame goes, how it is shrunk, how dialog units
// become pixels, and how progress lines are read.
class TestUiLogic : public QObject {
    Q_OBJECT
private slots:
    void initialFrameRect_data();
    void initialFrameRect();
    void shrinkFrameToForm_data();
    void shrinkFrameToForm();
    void dialogUnits_data();
    void dialogUnits();
    void progressLine_data();
    void progressLine();
};

void TestUiLogic::initialFrameRect_data()
{
    QTest::addColumn<int>("screenWidth");
    QTest::addColumn<int>("screenHeight");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("1024 x 768 centres an 803 x 724 frame") << 1024 << 768 << QRect(110, 22, 803, 724);
    QTest::newRow("1920 x 1080 centres a 1251 x 880 frame") << 1920 << 1080 << QRect(334, 100, 1251, 880);
    QTest::newRow("800 x 600 puts the top edge off the screen") << 800 << 600 << QRect(54, -20, 691, 640);
    QTest::newRow("odd sides truncate every division") << 1023 << 767 << QRect(110, 21, 802, 723);
    QTest::newRow("a tiny screen truncates toward zero, not down") << 0 << 1 << QRect(-145, -170, 291, 340);
}

void TestUiLogic::initialFrameRect()
{
    QFETCH(int, screenWidth);
    QFETCH(int, screenHeight);
    QFETCH(QRect, expected);
    const FrameRect rect = InitialFrameRect(screenWidth, screenHeight);
    QCOMPARE(QRect(rect.left, rect.top, rect.width, rect.height), expected);
}

void TestUiLogic::shrinkFrameToForm_data()
{
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QSize>("form");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("client larger both ways: shrunk both ways")
        << QSize(803, 724) << QSize(795, 690) << QSize(702, 304) << QSize(710, 338);
    QTest::newRow("wider but not as tall: narrowed only, height kept")
        << QSize(803, 300) << QSize(795, 266) << QSize(702, 304) << QSize(710, 300);
    QTest::newRow("taller but not as wide: lowered only, width kept")
        << QSize(600, 724) << QSize(592, 690) << QSize(702, 304) << QSize(600, 338);
    QTest::newRow("smaller both ways: unchanged, the form scrolls")
        << QSize(400, 200) << QSize(392, 166) << QSize(702, 304) << QSize(400, 200);
    QTest::newRow("client exactly the form: unchanged")
        << QSize(710, 338) << QSize(702, 304) << QSize(702, 304) << QSize(710, 338);
}

void TestUiLogic::shrinkFrameToForm()
{
    QFETCH(QSize, frame);
    QFETCH(QSize, client);
    QFETCH(QSize, form);
    QFETCH(QSize, expected);
    const FrameSize fitted = ShrinkFrameToForm({frame.width(), frame.height()}, {client.width(), client.height()},
                                               {form.width(), form.height()});
    QCOMPARE(QSize(fitted.width, fitted.height), expected);
}

void TestUiLogic::dialogUnits_data()
{
    QTest::addColumn<int>("baseWidth");
    QTest::addColumn<int>("baseHeight");
    QTest::addColumn<QRect>("units");
    QTest::addColumn<QRect>("pixels");
    // 6 x 13 are the base units of the classic 8-point dialog font at 96 dots per inch.
    QTest::newRow("main form 468 x 187 at 6 x 13") << 6 << 13 << QRect(0, 0, 468, 187) << QRect(0, 0, 702, 304);
    QTest::newRow("run-settings dialog 451 x 164 rounds halves up")
        << 6 << 13 << QRect(0, 0, 451, 164) << QRect(0, 0, 677, 267);
    QTest::newRow("a control keeps its right edge where its neighbour starts")
        << 6 << 13 << QRect(47, 64, 52, 12) << QRect(71, 104, 78, 20);
    QTest::newRow("a wider font widens the layout in proportion")
        << 8 << 16 << QRect(36, 104, 114, 15) << QRect(72, 208, 228, 30);
}

void TestUiLogic::dialogUnits()
{
    QFETCH(int, baseWidth);
    QFETCH(int, baseHeight);
    QFETCH(QRect, units);
    QFETCH(QRect, pixels);
    const CDialogUnits converter(baseWidth, baseHeight);
    QCOMPARE(converter.ToPixels(units.x(), units.y(), units.width(), units.height()), pixels);
}

void TestUiLogic::progressLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("isProgress");
    QTest::addColumn<QList<qlonglong>>("counts");
    using L = QList<qlonglong>;
    QTest::newRow("the first line of a run") << "0 0 0 0 0" << true << L{0, 0, 0, 0, 0};
    QTest::newRow("fields in the order total, not valid, valid, not same call, not in range")
        << "79 7 62 9 1" << true << L{79, 7, 62, 9, 1};
    QTest::newRow("a negative count is shown as the exporter counted it")
        << "-2147483648 0 0 0 0" << true << L{-2147483648LL, 0, 0, 0, 0};
    QTest::newRow("four fields: a torn line") << "1 0 1 0" << false << L{};
    QTest::newRow("six fields") << "1 0 1 0 0 0" << false << L{};
    QTest::newRow("two blanks between fields") << "1  0 1 0 0" << false << L{};
    QTest::newRow("a carriage return left on the line") << "1 0 1 0 0\r" << false << L{};
    QTest::newRow("a plus sign") << "+1 0 1 0 0" << false << L{};
    QTest::newRow("an empty line") << "" << false << L{};
    QTest::newRow("words") << "Total QSOs: 79" << false << L{};
    QTest::newRow("a count beyond the range of long") << "99999999999999999999 0 0 0 0" << false << L{};
}

void TestUiLogic::progressLine()
{
    QFETCH(QString, line);
    QFETCH(bool, isProgress);
    QFETCH(QList<qlonglong>, counts);
    const std::optional<RunCounts> parsed = ParseProgressLine(line.toStdString());
    QCOMPARE(parsed.has_value(), isProgress);
    if (parsed) {
        const QList<qlonglong> got{parsed->total, parsed->notValid, parsed->valid, parsed->notSameOprCall,
                                   parsed->notDateRange};
        QCOMPARE(got, counts);
    }
}

QTEST_MAIN(TestUiLogic)
#include "tst_ui_logic.moc"
