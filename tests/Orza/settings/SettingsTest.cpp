#include "Orza/settings/Settings.h"
#include "Orza/settings/WindowState.h"

#include "support/TestEnvironment.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTest>

using namespace Orza;
using Key = Settings::Key;

class SettingsTest : public OrzaTest::IsolatedSuite {
    Q_OBJECT
private slots:
    void defaultsUnderTheirNames() {
        Settings& settings = Settings::instance();
        QCOMPARE(Settings::name(Key::firstLaunchSampleShown), QStringLiteral("firstLaunchSampleShown"));
        QCOMPARE(Settings::name(Key::showOpenPanelAtLaunch),
                 QStringLiteral("NSShowAppCentricOpenPanelInsteadOfUntitledFile"));
        QCOMPARE(settings.boolValue(Key::firstLaunchSampleShown), false);
        QCOMPARE(settings.boolValue(Key::includeAdditions), false);
        QCOMPARE(settings.boolValue(Key::showOpenPanelAtLaunch), false);
        QCOMPARE(settings.stringValue(Key::limitSetID), QString());
        QCOMPARE(settings.stringValue(Key::labelSheetID), QStringLiteral("letter-30"));
        QCOMPARE(settings.doubleValue(Key::batchTotalGrams), 1000.0);
        QCOMPARE(settings.doubleValue(Key::batchPrecision), 0.1);
    }

    void setSignalsOnlyRealChanges() {
        Settings& settings = Settings::instance();
        QSignalSpy changed(&settings, &Settings::changed);
        settings.set(Key::labelSheetID, QStringLiteral("letter-30")); // the default: nothing readable changes
        QCOMPARE(changed.count(), 0);
        settings.set(Key::labelSheetID, QStringLiteral("a4-21"));
        settings.set(Key::labelSheetID, QStringLiteral("a4-21"));
        QCOMPARE(changed.count(), 1);
        settings.set(Key::firstLaunchSampleShown, true);
        settings.set(Key::firstLaunchSampleShown, true); // read back from the file as text, still equal
        QCOMPARE(changed.count(), 2);
        QCOMPARE(settings.boolValue(Key::firstLaunchSampleShown), true);
    }

    void numbersFallBackWhenNotNumbers() {
        QSettings().setValue(Settings::name(Key::batchTotalGrams), QStringLiteral("lots"));
        QCOMPARE(Settings::instance().doubleValue(Key::batchTotalGrams), 1000.0);
        QSettings().setValue(Settings::name(Key::batchPrecision), QStringLiteral("nan"));
        QCOMPARE(Settings::instance().doubleValue(Key::batchPrecision), 0.1);
    }

    void windowStateIsKeptByFilePath() {
        const QString path = filePath("a.orzabook");
        {
            WindowState state(path);
            QCOMPARE(state.sidebarSelection(), QString());
            QCOMPARE(state.showChemistry(), true);
            state.setSidebarSelection(QStringLiteral("tests"));
            state.setShowChemistry(false);
        }
        WindowState again(path);
        QCOMPARE(again.sidebarSelection(), QStringLiteral("tests"));
        QCOMPARE(again.showChemistry(), false);
        WindowState other(filePath("b.orzabook"));
        QCOMPARE(other.sidebarSelection(), QString());
    }

    void untitledStateMovesToItsFileWhenSaved() {
        WindowState state;
        state.setSidebarSelection(QStringLiteral("materials"));
        const QString path = filePath("saved.orzabook");
        state.setFilePath(path);
        QCOMPARE(WindowState(path).sidebarSelection(), QStringLiteral("materials"));
    }
};

QTEST_GUILESS_MAIN(SettingsTest)
#include "SettingsTest.moc"
