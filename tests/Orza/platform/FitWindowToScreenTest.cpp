#include "Orza/platform/FitWindowToScreen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

using namespace Orza;

class FitWindowToScreenTest : public QObject {
    Q_OBJECT
private slots:
    void fittedFrame_data() {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QRect>("fitted");
        // A menu bar of 25 above the usable area: the window's top edge sits 8 below it, centred.
        QTest::newRow("too large") << QRect(40, 40, 1400, 900) << QRect(0, 25, 1280, 775) << QRect(8, 33, 1264, 767);
        QTest::newRow("only too tall") << QRect(0, 0, 1000, 900) << QRect(0, 0, 1440, 800) << QRect(60, 8, 1320, 780);
        QTest::newRow("only too wide") << QRect(0, 0, 1500, 500) << QRect(0, 0, 1200, 900) << QRect(8, 8, 1184, 780);
        QTest::newRow("second screen") << QRect(1920, 0, 1400, 1000) << QRect(1920, 0, 1280, 800)
                                       << QRect(1928, 8, 1264, 780);
        // Smaller than a new window's smallest size: the usable area, from its top left.
        QTest::newRow("small screen") << QRect(0, 0, 944, 652) << QRect(0, 0, 900, 600) << QRect(0, 0, 900, 600);
        QTest::newRow("small, offset") << QRect(0, 0, 1320, 780) << QRect(100, 30, 800, 560)
                                       << QRect(100, 30, 800, 560);
        QTest::newRow("wide but low") << QRect(0, 0, 1320, 780) << QRect(0, 0, 1280, 640) << QRect(8, 0, 1264, 640);
        QTest::newRow("no room for the gap")
            << QRect(0, 0, 1320, 780) << QRect(0, 0, 1280, 655) << QRect(8, 0, 1264, 652);
        QTest::newRow("narrow but tall") << QRect(0, 0, 1320, 780) << QRect(0, 0, 900, 1000) << QRect(0, 8, 900, 780);
    }
    void fittedFrame() {
        QFETCH(QRect, frame);
        QFETCH(QRect, available);
        QFETCH(QRect, fitted);
        const auto result = FitWindowToScreen::fittedFrame(frame, available);
        QVERIFY(result);
        QCOMPARE(*result, fitted);
        QVERIFY(available.contains(*result));
    }

    void aWindowThatFitsIsLeftAlone() {
        // Even one smaller than a new window's size, or exactly the usable area.
        QVERIFY(!FitWindowToScreen::fittedFrame(QRect(300, 200, 700, 500), QRect(0, 25, 1280, 775)));
        QVERIFY(!FitWindowToScreen::fittedFrame(QRect(0, 25, 1280, 775), QRect(0, 25, 1280, 775)));

        QWidget window;
        window.setGeometry(50, 60, 700, 500);
        FitWindowToScreen::fit(&window, QRect(0, 0, 1280, 800));
        QCOMPARE(window.geometry(), QRect(50, 60, 700, 500));
        // Not framed yet: the estimated title bar and borders fit on the screen too.
        FitWindowToScreen::fit(&window, QRect(0, 0, 640, 480));
        QCOMPARE(window.geometry().marginsAdded(FitWindowToScreen::decorations(&window)), QRect(0, 0, 640, 480));
        QVERIFY(FitWindowToScreen::decorations(&window).top() > 0);
    }

    // A window that fits but hangs over an edge moves inside, as little as it takes, keeping its size.
    void aWindowOverAnEdgeMovesInside() {
        const QRect available(0, 25, 1280, 775);
        QCOMPARE(FitWindowToScreen::placedInside(QRect(300, 500, 700, 500), available), QRect(300, 300, 700, 500));
        QCOMPARE(FitWindowToScreen::placedInside(QRect(-40, 10, 700, 500), available), QRect(0, 25, 700, 500));
        QCOMPARE(FitWindowToScreen::placedInside(QRect(900, 100, 700, 500), available), QRect(580, 100, 700, 500));
        QVERIFY(!FitWindowToScreen::placedInside(QRect(300, 200, 700, 500), available));
        QVERIFY(!FitWindowToScreen::placedInside(QRect(0, 0, 1400, 500), available)); // too wide: fitted instead

        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QWidget window;
        new FitWindowToScreen(&window);
        window.setGeometry(screen.left() + 30, screen.bottom() - 100, 400, 300);
        window.show();
        QTRY_VERIFY(screen.contains(window.frameGeometry()));
        QCOMPARE(window.size(), QSize(400, 300));
    }

    // The probe fits the window to its own screen once, after the first show, and never again.
    void probeActsOnceOnTheWindowsScreen() {
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        QWidget window;
        auto* probe = new FitWindowToScreen(&window);
        window.resize(available.width() + 300, available.height() + 200);
        window.show();
        QVERIFY(probe->done());
        QTRY_VERIFY(window.frameGeometry().width() <= available.width());
        QVERIFY(available.contains(window.frameGeometry()));

        window.resize(available.width() + 300, available.height() + 200);
        window.hide();
        window.show();
        QTest::qWait(50);
        QCOMPARE(window.width(), available.width() + 300);
    }
};

QTEST_MAIN(FitWindowToScreenTest)
#include "FitWindowToScreenTest.moc"
