#include "Orza/window/NoInitialTextFocus.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <memory>

using namespace Orza;

namespace {

/// Runs the event loop until the probe's second pass has run, however slowly the machine goes: a timer set after
/// the probe's and longer than it fires after it.
bool waitPastSecondPass() {
    bool past = false;
    const QObject context;
    QTimer::singleShot(NoInitialTextFocus::secondPassMilliseconds + 1, &context, [&past] { past = true; });
    return QTest::qWaitFor([&past] { return past; }, 60000);
}

} // namespace

class WindowProbesTest : public QObject {
    Q_OBJECT
private slots:
    void textFocusIsClearedAtOnceAndAgainLater() {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* first = new QLineEdit;
        auto* late = new QLineEdit;
        layout->addWidget(first);
        layout->addWidget(late);
        auto* probe = new NoInitialTextFocus(&window);
        first->setFocus();
        QCOMPARE(window.focusWidget(), first);
        // A field that takes the focus a moment after the window opens loses it at the second pass.
        bool lateTookFocus = false;
        QTimer::singleShot(100, late, [&] {
            late->setFocus();
            lateTookFocus = window.focusWidget() == late;
        });
        window.show();
        QVERIFY(probe->done());
        // Activating the window hands the focus to its first field again; the second pass takes it away.
        QVERIFY(waitPastSecondPass());
        QVERIFY(lateTookFocus);
        QVERIFY(!qobject_cast<QLineEdit*>(window.focusWidget()));

        // The probe acts once: showing the window again leaves a focused field alone.
        window.hide();
        window.show();
        first->setFocus();
        QVERIFY(waitPastSecondPass());
        QCOMPARE(window.focusWidget(), first);
    }

    void aFieldTheUserFocusedKeepsIt() {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(new QListWidget);
        auto* field = new QLineEdit;
        layout->addWidget(field);
        new NoInitialTextFocus(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // A click into the field before the second pass: the focus it gave is the potter's own.
        QTest::mouseClick(field, Qt::LeftButton);
        QCOMPARE(window.focusWidget(), field);
        QVERIFY(waitPastSecondPass());
        QCOMPARE(window.focusWidget(), field);
    }

    void aFieldACommandFocusedKeepsIt() {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(new QListWidget);
        auto* search = new QLineEdit;
        layout->addWidget(search);
        new NoInitialTextFocus(&window);
        // A command run from the menu before the second pass (Find Test in a slow start) sends no key or click
        // to the window; the field it focused stays focused.
        QTimer::singleShot(100, search, [search] { search->setFocus(Qt::ShortcutFocusReason); });
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QVERIFY(waitPastSecondPass());
        QCOMPARE(window.focusWidget(), search);
    }

    void aListKeepsItsFocus() {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* list = new QListWidget;
        layout->addWidget(list);
        layout->addWidget(new QLineEdit);
        new NoInitialTextFocus(&window);
        list->setFocus();
        window.show();
        QVERIFY(waitPastSecondPass());
        QCOMPARE(window.focusWidget(), list);
    }
};

QTEST_MAIN(WindowProbesTest)
#include "WindowProbesTest.moc"
