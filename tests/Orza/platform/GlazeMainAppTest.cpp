#include "Orza/platform/GlazeMainApp.h"

#include <QApplication>
#include <QTest>

using Orza::GlazeMainApp;

class GlazeMainAppTest : public QObject {
    Q_OBJECT
private slots:
    void windowSizeFollowsTheScreen_data() {
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<QSize>("size");
        QTest::newRow("laptop") << QSize(1280, 800) << QSize(1264, 780);
        QTest::newRow("small") << QSize(1024, 640) << QSize(1008, 652);
        QTest::newRow("tiny") << QSize(800, 600) << QSize(944, 652);
        QTest::newRow("large") << QSize(2560, 1440) << QSize(1320, 780);
        QTest::newRow("no width") << QSize(0, 900) << QSize(1320, 780);
    }
    void windowSizeFollowsTheScreen() {
        QFETCH(QSize, frame);
        QFETCH(QSize, size);
        QCOMPARE(GlazeMainApp::defaultWindowSize(frame), size);
    }

    void noScreenGivesTheLargestDefault() { QCOMPARE(GlazeMainApp::defaultWindowSize(std::nullopt), QSize(1320, 780)); }

    void nameFallsBackToOrza() {
        QCOMPARE(GlazeMainApp::appName(), QStringLiteral("Orza")); // a test binary has no bundle name
        qApp->setProperty("orzaBundleName", QStringLiteral("Glaze Lab"));
        QCOMPARE(GlazeMainApp::appName(), QStringLiteral("Glaze Lab"));
        qApp->setProperty("orzaBundleName", 42);
        QCOMPARE(GlazeMainApp::appName(), QStringLiteral("Orza"));
    }

    void pagesShareOneHost() {
        QCOMPARE(GlazeMainApp::supportPage().path(), QStringLiteral("/support/"));
        QCOMPARE(GlazeMainApp::privacyPage().path(), QStringLiteral("/privacy/"));
        QCOMPARE(GlazeMainApp::supportPage().host(), GlazeMainApp::privacyPage().host());
        QCOMPARE(GlazeMainApp::supportPage().scheme(), QStringLiteral("https"));
    }
};

QTEST_MAIN(GlazeMainAppTest)
#include "GlazeMainAppTest.moc"
