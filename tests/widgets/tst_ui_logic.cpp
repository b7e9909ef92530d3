#include "ui/DisplaySession.h"
#include "ui/FrameGeometry.h"

#include <QtTest>

// The plain rules under the windows: where the frame goes and how it is shrunk.
class TestUiLogic : public QObject {
    Q_OBJECT
private slots:
    void initialFrameRect_data();
    void initialFrameRect();
    void shrinkFrameToForm_data();
    void shrinkFrameToForm();
    void displayMissing_data();
    void displayMissing();
};

void TestUiLogic::initialFrameRect_data() {
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("1024 x 768 centres an 803 x 724 frame") << QSize(1024, 768) << QRect(110, 22, 803, 724);
    QTest::newRow("1920 x 1080 centres a 1251 x 880 frame") << QSize(1920, 1080) << QRect(334, 100, 1251, 880);
    QTest::newRow("800 x 600 puts the top edge off the screen") << QSize(800, 600) << QRect(54, -20, 691, 640);
    QTest::newRow("a tiny screen truncates toward zero, not down") << QSize(0, 1) << QRect(-145, -170, 291, 340);
}

void TestUiLogic::initialFrameRect() {
    QFETCH(QSize, screen);
    QFETCH(QRect, expected);
    const FrameRect rect = InitialFrameRect(screen.width(), screen.height());
    QCOMPARE(QRect(rect.left, rect.top, rect.width, rect.height), expected);
}

void TestUiLogic::shrinkFrameToForm_data() {
    // A frame 8 pixels wider and 34 higher than its client area, around a 702 x 304 form.
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("client larger both ways: shrunk both ways") << QSize(803, 724) << QSize(710, 338);
    QTest::newRow("wider but not as tall: narrowed only, height kept") << QSize(803, 300) << QSize(710, 300);
    QTest::newRow("smaller both ways: unchanged, the form scrolls") << QSize(400, 200) << QSize(400, 200);
}

void TestUiLogic::shrinkFrameToForm() {
    QFETCH(QSize, frame);
    QFETCH(QSize, expected);
    const FrameSize fitted =
        ShrinkFrameToForm({frame.width(), frame.height()}, {frame.width() - 8, frame.height() - 34}, {702, 304});
    QCOMPARE(QSize(fitted.width, fitted.height), expected);
}

void TestUiLogic::displayMissing_data() {
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("x11");
    QTest::addColumn<QString>("wayland");
    QTest::addColumn<QString>("socket");
    QTest::addColumn<bool>("missing");
    QTest::newRow("nothing set: Qt would abort") << "" << "" << "" << "" << true;
    QTest::newRow("an X11 display") << "" << ":0" << "" << "" << false;
    QTest::newRow("a Wayland display") << "" << "" << "wayland-0" << "" << false;
    QTest::newRow("a Wayland connection handed over") << "" << "" << "" << "5" << false;
    QTest::newRow("xcb asked for, no display") << "xcb" << "" << "" << "" << true;
    QTest::newRow("wayland-egl asked for, no display") << "wayland-egl" << "" << "" << "" << true;
    QTest::newRow("xcb asked for, only a Wayland display") << "xcb" << "" << "wayland-0" << "" << true;
    QTest::newRow("wayland asked for, only an X11 display") << "wayland" << ":0" << "" << "" << true;
    QTest::newRow("offscreen needs none") << "offscreen" << "" << "" << "" << false;
    QTest::newRow("a list falling back to offscreen") << "wayland;xcb;offscreen" << "" << "" << "" << false;
    QTest::newRow("a list of display platforms, none there") << "wayland;xcb" << "" << "" << "" << true;
    QTest::newRow("a list whose second entry has its display") << "wayland;xcb" << ":0" << "" << "" << false;
}

void TestUiLogic::displayMissing() {
    QFETCH(QString, platform);
    QFETCH(QString, x11);
    QFETCH(QString, wayland);
    QFETCH(QString, socket);
    QFETCH(bool, missing);
    QCOMPARE(DisplaySession::Missing(
                 {platform.toStdString(), x11.toStdString(), wayland.toStdString(), socket.toStdString()}),
             missing);
}

QTEST_MAIN(TestUiLogic)
#include "tst_ui_logic.moc"
