#include "Orza/help/HelpWindow.h"

#include "Orza/actions/CommandTable.h"
#include "Orza/app/Translations.h"
#include "Orza/platform/AccessibleHeading.h"
#include "Orza/platform/FitWindowToScreen.h"
#include "Orza/platform/GlazeMainApp.h"
#include "Orza/window/BookWindow.h"
#include "support/ChildRun.h"
#include "support/TestEnvironment.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QTest>

#include <memory>

using namespace Orza;

/// Takes the addresses the application hands to the web browser.
class PageRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

namespace {

int helpWindowCount() {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (qobject_cast<HelpWindow*>(widget)) ++count;
    return count;
}

QList<QLabel*> topicLabels(const HelpWindow& window, const QString& id) {
    QWidget* group = window.findChild<QWidget*>(id);
    return group ? group->findChildren<QLabel*>() : QList<QLabel*>();
}

} // namespace

class HelpWindowTest : public OrzaTest::WindowSuite {
    Q_OBJECT
private:
    void tearDown() override { qApp->setProperty("orzaBundleName", QVariant()); }

private slots:
    void oneWindowHoweverOftenAskedFor() {
        GlazeMainApp::setHelpWindowOpener([] { HelpWindow::showHelp(); });
        const auto book = OrzaTest::makeWindowWithMenus();
        QVERIFY(OrzaTest::showActive(*book));

        QTest::keyClick(book.get(), Qt::Key_Question, Qt::ControlModifier);
        HelpWindow* help = HelpWindow::existing();
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->objectName(), QStringLiteral("help"));
        // A reader lists it among the application's windows, by its title.
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(help);
        QCOMPARE(window->role(), QAccessible::Window);
        QCOMPARE(window->text(QAccessible::Name), QStringLiteral("Orza Help"));
        QVERIFY(window->childCount() > 0);

        QMenu* menu = nullptr;
        for (QAction* action : book->menuBar()->actions())
            if (action->text() == QLatin1String("&Help")) menu = action->menu();
        QVERIFY(menu);
        QAction* item = menu->actions().value(0);
        QCOMPARE(item->text(), QStringLiteral("Orza Help"));
        item->trigger();
        help->close();
        item->trigger();
        QCOMPARE(HelpWindow::showHelp(), help);
        QCOMPARE(helpWindowCount(), 1);
        QVERIFY(help->isVisible());
        QVERIFY(!help->testAttribute(Qt::WA_QuitOnClose));
        help->close();
    }

    // A German desktop and a program without German texts: Qt's own texts and key names are English as the
    // program's are, and only the numbers follow the desktop.
    void qtsTextsAndKeyNamesFollowTheProgramsLanguage() {
        ORZA_TEST_IN_CHILD_PROCESS_WITH((QStringList{
            QStringLiteral("LC_ALL=de_DE.UTF-8"), QStringLiteral("LANG=de_DE.UTF-8"), QStringLiteral("LANGUAGE=de")}));
        QCOMPARE(QLocale().language(), QLocale::German);
        QCOMPARE(Translations::textLocale().language(), QLocale::English);
        QCOMPARE(Translations::textLocale(QLocale(QLocale::English, QLocale::UnitedKingdom)).territory(),
                 QLocale::UnitedKingdom);
        QCOMPARE(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T).toString(QKeySequence::NativeText),
                 QStringLiteral("Ctrl+Shift+T"));
        QVERIFY(HelpWindow::topics()[8].text.contains(QLatin1String("Ctrl+Alt+F")));
        QDialogButtonBox buttons(QDialogButtonBox::Save | QDialogButtonBox::Discard | QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Save)->text(), QStringLiteral("Save"));
        QCOMPARE(buttons.button(QDialogButtonBox::Discard)->text(), QStringLiteral("Discard"));
        QCOMPARE(QLocale().toString(1.5), QStringLiteral("1,5"));
    }

    void escapeAndTheCloseKeyCloseIt() {
        for (const QKeySequence& keys : {QKeySequence(Qt::Key_Escape), QKeySequence(QKeySequence::Close)}) {
            HelpWindow* help = HelpWindow::showHelp();
            QVERIFY(OrzaTest::showActive(*help));
            QTest::keySequence(help, keys);
            QVERIFY(!help->isVisible());
        }
        // It fits a small screen, frame and all, however large its usual size.
        const QSize fitted =
            FitWindowToScreen::fittingSize(HelpWindow::defaultSize, QRect(0, 0, 900, 600), HelpWindow::existing());
        QVERIFY(fitted.height() < 600 && fitted.width() == HelpWindow::defaultSize.width());
    }

    void topicsNameTheApplication() {
        const auto topics = HelpWindow::topics();
        QCOMPARE(int(topics.size()), 10);
        QStringList ids;
        for (const auto& topic : topics)
            ids << topic.id;
        QCOMPARE(ids, (QStringList{"start", "recipes", "nudge", "replace", "stull", "blends", "batch", "tests",
                                   "tilecodes", "materials"}));
        QCOMPARE(topics[0].title, QStringLiteral("Getting started"));
        QCOMPARE(topics[8].title, QStringLiteral("Tile codes, labels and search"));

        qApp->setProperty("orzaBundleName", QStringLiteral("Glaze Lab"));
        int named = 0;
        for (const auto& topic : HelpWindow::topics()) {
            named += topic.text.count(QStringLiteral("Glaze Lab"));
            QVERIFY2(!topic.text.contains(QLatin1String("Orza")), qPrintable(topic.id));
            QVERIFY2(!topic.text.contains(QLatin1String("Command")), qPrintable(topic.id)); // keys in Linux form
        }
        QCOMPARE(named, 7);
        QVERIFY(HelpWindow::topics()[7].text.contains(QLatin1String("Ctrl+2")));
        QVERIFY(HelpWindow::topics()[8].text.contains(QLatin1String("Ctrl+Alt+F")));
        // The keys named are the commands' keys as the menus show them.
        for (const auto& [topic, command] : {std::pair{7, Command::showTests}, std::pair{8, Command::findTest},
                                             std::pair{9, Command::showMaterials}}) {
            const QString keys = CommandTable::shortcutText(command);
            QVERIFY(!keys.isEmpty());
            QVERIFY2(topics[topic].text.contains(keys), qPrintable(keys));
        }
    }

    // Numbers in the topics are written as the locale writes them.
    void numbersAsTheLocaleWritesThem() {
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        const std::vector<HelpWindow::Topic> topics = HelpWindow::topics();
        QLocale::setDefault(QLocale::c());
        QVERIFY(topics[2].text.contains(QLatin1String("step the target up or down by 0,05.")));
        QVERIFY(topics[8].text.contains(QStringLiteral("an A4 sheet of 21 labels (63,5 \u00d7 38,1 mm)")));
    }

    void layoutKeepsItsLimitsAndShowsEveryText() {
        HelpWindow* help = HelpWindow::showHelp();
        QVERIFY(QTest::qWaitForWindowExposed(help));
        QCOMPARE(help->windowTitle(), QStringLiteral("Orza Help"));
        QCOMPARE(help->heading()->text(), QStringLiteral("Orza Help"));

        help->resize(300, 200);
        QCOMPARE(help->size(), HelpWindow::minimumContentSize);
        QCoreApplication::processEvents();
        // At the narrowest, every paragraph gets the full height its wrapped lines need.
        for (const auto& topic : HelpWindow::topics()) {
            const QList<QLabel*> labels = topicLabels(*help, topic.id);
            QCOMPARE(labels.size(), 2);
            QLabel* text = labels[1];
            QCOMPARE(text->text(), topic.text);
            QVERIFY(text->width() <= HelpWindow::minimumContentSize.width());
            QVERIFY2(text->height() >= text->heightForWidth(text->width()), qPrintable(topic.id));
            QVERIFY(text->textInteractionFlags() & Qt::TextSelectableByMouse);
            QVERIFY(isHeading(labels[0]));
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(labels[0]);
            QVERIFY(accessible);
            QCOMPARE(accessible->role(), QAccessible::Heading);
            QCOMPARE(accessible->text(QAccessible::Name), topic.title);
        }

        help->resize(1400, 700);
        QCoreApplication::processEvents();
        QCOMPARE(help->column()->width(), HelpWindow::maximumColumnWidth);
        QCOMPARE(help->column()->x(), 0);
        help->close();
    }

    // Each topic's title and text: selected and copied whole.
    void topicTitlesAndTextsCanBeCopied() {
        HelpWindow* help = HelpWindow::showHelp();
        QVERIFY(QTest::qWaitForWindowExposed(help));
        for (const auto& topic : HelpWindow::topics()) {
            for (QLabel* label : topicLabels(*help, topic.id)) {
                QApplication::clipboard()->clear();
                label->setSelection(0, int(label->text().size()));
                QCOMPARE(label->selectedText(), label->text());
                label->setFocus();
                QTest::keySequence(label, QKeySequence::Copy);
                QCOMPARE(QApplication::clipboard()->text(), label->text());
            }
        }
        // The heading is an ordinary text.
        QVERIFY(!(help->heading()->textInteractionFlags() & Qt::TextSelectableByMouse));
        help->close();
    }

    // Tab and Shift+Tab each go round the help in two stops: the link, which Return opens, and the topics under
    // it, which the Page and arrow keys scroll. The title is read as a heading.
    void theKeyboardGoesRoundTheHelp() {
        PageRecorder recorder;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder, "open");
        HelpWindow* help = HelpWindow::showHelp();
        QVERIFY(QTest::qWaitForWindowActive(help));
        help->resize(HelpWindow::minimumContentSize);
        OrzaTest::settle();
        QVERIFY(isHeading(help->heading()));
        QCOMPARE(QAccessible::queryAccessibleInterface(help->heading())->role(), QAccessible::Heading);

        QLabel* link = help->supportLink();
        for (const auto& [key, modifiers] :
             {std::pair{Qt::Key_Tab, Qt::NoModifier}, std::pair{Qt::Key_Backtab, Qt::ShiftModifier}}) {
            link->setFocus(Qt::TabFocusReason);
            QTest::keyClick(link, key, modifiers);
            auto* topics = qobject_cast<QScrollArea*>(QApplication::focusWidget());
            QVERIFY(topics);
            QCOMPARE(topics->accessibleName(), QStringLiteral("Help topics"));
            QScrollBar* bar = topics->verticalScrollBar();
            bar->setValue(0);
            QTest::keyClick(topics, Qt::Key_PageDown);
            QVERIFY(bar->value() > 0);
            const int paged = bar->value();
            QTest::keyClick(topics, Qt::Key_Down);
            QVERIFY(bar->value() > paged);
            QTest::keyClick(topics, key, modifiers);
            QCOMPARE(QApplication::focusWidget(), link);
        }
        QTest::keyClick(link, Qt::Key_Return);
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(recorder.opened, QList<QUrl>{GlazeMainApp::supportPage()});
        help->close();
    }

    void supportLinkOpensTheSupportPage() {
        PageRecorder recorder;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder, "open");
        HelpWindow* help = HelpWindow::showHelp();
        emit help->supportLink()->linkActivated(help->supportLink()->text());
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(recorder.opened, QList<QUrl>{GlazeMainApp::supportPage()});
        help->close();
    }
};

QTEST_MAIN(HelpWindowTest)
#include "HelpWindowTest.moc"
