// The sample book's window tried as a restless hand would: every page and every sheet and dialog the window
// offers, and on each of their widgets the wheel both ways, clicks and the keys a potter leans on. The
// program stays up, the book can still be written, and undoing every step gives back the book as it opened.

#include "GlazeCore/book/GlazeBookCodec.h"
#include "Orza/actions/ActionRegistry.h"
#include "Orza/app/DocumentController.h"
#include "Orza/document/BookDocument.h"
#include "Orza/help/HelpWindow.h"
#include "Orza/materials/MaterialsPage.h"
#include "Orza/models/WindowModel.h"
#include "Orza/platform/FileDialog.h"
#include "Orza/platform/GlazeMainApp.h"
#include "Orza/platform/MessageBox.h"
#include "Orza/printing/PdfSaveDialog.h"
#include "Orza/printing/PrintDialog.h"
#include "Orza/recipe/RecipeLinesModel.h"
#include "Orza/recipe/RecipeLinesTable.h"
#include "Orza/recipe/RecipePane.h"
#include "Orza/widgets/MaterialPicker.h"
#include "Orza/window/BookToolbar.h"
#include "Orza/window/BookWindow.h"
#include "Orza/window/CustomizeToolbarDialog.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QUndoStack>
#include <QtTest/qtestspontaneevent.h>

#include <array>
#include <functional>

using namespace Orza;

namespace {

DocumentController& controller() {
    return DocumentController::instance();
}

struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

// Undo and Redo among them, in the middle of everything else; Return and Escape last: in a sheet either may
// close it.
const std::array<Key, 13> keys{{{Qt::Key_Down},
                                {Qt::Key_Up},
                                {Qt::Key_Right},
                                {Qt::Key_Left},
                                {Qt::Key_Tab},
                                {Qt::Key_X},
                                {Qt::Key_5},
                                {Qt::Key_Delete},
                                {Qt::Key_Z, Qt::ControlModifier},
                                {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier},
                                {Qt::Key_Z, Qt::ControlModifier},
                                {Qt::Key_Return},
                                {Qt::Key_Escape}}};

/// No file, print or question panel ever waits for an answer: each is cancelled before it shows.
void cancelEveryPanel() {
    FileDialog::clearNextFileName();
    FileDialog::setNextFileName(QString());
    Printing::PdfSaveDialog::clearNextAnswer();
    Printing::PdfSaveDialog::setNextFileName(QString());
    Printing::PrintDialog::clearNextAnswers();
    Printing::PrintDialog::setNextAnswer(Printing::PrintDialog::Answer::cancel);
    MessageBox::clearNextAnswers();
    MessageBox::setNextAnswer(MessageBox::Answer::cancel);
}

void forgetPanelAnswers() {
    FileDialog::clearNextFileName();
    Printing::PdfSaveDialog::clearNextAnswer();
    Printing::PrintDialog::clearNextAnswers();
    MessageBox::clearNextAnswers();
}

/// Closes the popups and modal windows in front of `keep` (none: all of them); false when one stays up.
bool dismissAllBut(const QWidget* keep) {
    for (int round = 0; round < 20; ++round) {
        QWidget* front = QApplication::activePopupWidget();
        if (!front) front = QApplication::activeModalWidget();
        if (!front || front == keep) return true;
        if (auto* dialog = qobject_cast<QDialog*>(front))
            dialog->reject();
        else
            front->close();
        OrzaTest::settle();
    }
    return false;
}

/// The visible widgets of `root`'s window, `root` first, in the order they were made. A field's clear button
/// is left out: it shows and hides as an animation's clock says, which would make the order differ by run.
QList<QPointer<QWidget>> visibleWidgets(QWidget* root) {
    QList<QPointer<QWidget>> found{root};
    for (QWidget* child : root->findChildren<QWidget*>())
        if (child->isVisible() && !child->isWindow() && !child->inherits("QLineEditIconButton")) found << child;
    return found;
}

void contextMenuClick(QWidget* target, QPoint at) {
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
    // As from the mouse, so that a widget without a menu hands it on to its parents.
    QSpontaneKeyEvent::setSpontaneous(&event);
    qApp->notify(target, &event);
}

/// The offscreen platform's notes on what it cannot do (raise a window, grab the keyboard) are not faults.
QtMessageHandler previousHandler = nullptr;
void quietPlatform(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("This plugin does not support"))) return;
    previousHandler(type, context, message);
}

/**
 * Tries one thing the window shows (a page, a sheet, a dialog): `open` shows it (again, after a key or click
 * closed it) and returns its root, or none when it cannot be shown now. Widgets are taken by their place in
 * that order, so when a sheet closes it opens again and the next widget has its turn. Every visible widget
 * gets the wheel both ways, a right click, a click and a double click; keys go to the widgets that can hold
 * the focus, as keys from a keyboard do, each after the widget took the focus.
 */
class Storm {
public:
    using Open = std::function<QWidget*()>;

    explicit Storm(QWidget& mainWindow) : m_mainWindow(mainWindow) {
        // Should anything start a loop of its own that the events' own guard misses, it ends all the same.
        m_sweeper.setInterval(1000);
        QObject::connect(&m_sweeper, &QTimer::timeout, [this] { dismissAllBut(m_keep); });
    }

    /// False when something the storm opened would not close.
    [[nodiscard]] bool run(const Open& open) {
        QPointer<QWidget> root;
        for (int index = 0;; ++index) {
            if (!root || !root->isVisible()) {
                m_sweeper.stop();
                root = open();
                OrzaTest::settle();
                if (!root || !root->isVisible()) break;
                m_keep = root->isWindow() && root != &m_mainWindow ? root.data() : nullptr;
                m_sweeper.start();
            }
            const QList<QPointer<QWidget>> widgets = visibleWidgets(root);
            if (index >= widgets.size()) break;
            tryWidget(widgets[index]);
            ++m_widgets;
        }
        m_sweeper.stop();
        m_keep = nullptr;
        return dismissAllBut(nullptr);
    }

    int widgetsTried() const { return m_widgets; }

private:
    void tryWidget(const QPointer<QWidget>& target) {
        // Events come as fast as a hand gives them: the queue runs once the widget has had them all.
        const auto give = [&](const std::function<void()>& event) {
            dismissAllBut(m_keep);
            if (!target || !target->isVisible()) return false;
            // A closed popup hands the activation back, as a window manager would; offscreen nothing does.
            if (QWidget* window = target->window(); QApplication::activeWindow() != window) {
                window->activateWindow();
                QCoreApplication::processEvents();
                if (!target || !target->isVisible()) return false;
            }
            cancelEveryPanel();
            // A menu that runs a loop of its own (a scroll bar's, a tool button's) closes as that loop turns.
            QTimer::singleShot(0, &m_sweeper, [this] { dismissAllBut(m_keep); });
            event();
            return true;
        };
        const QPoint middle = target->rect().center();
        const std::function<void()> events[] = {
            [&] { OrzaTest::wheel(target, -120); },
            [&] { OrzaTest::wheel(target, 120); },
            [&] { contextMenuClick(target, middle); },
            [&] {
                QTest::mousePress(target, Qt::LeftButton, Qt::NoModifier, middle);
                if (target) QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, middle);
            },
            [&] { QTest::mouseDClick(target, Qt::LeftButton, Qt::NoModifier, middle); },
        };
        for (const auto& event : events)
            if (!give(event)) return;
        if (target->focusPolicy() != Qt::NoFocus) {
            for (const Key& key : keys) {
                const bool given = give([&] {
                    target->setFocus(Qt::OtherFocusReason);
                    QTest::keyPress(target, key.key, key.modifiers);
                    if (target) QTest::keyRelease(target, key.key, key.modifiers);
                });
                if (!given) return;
            }
        }
        OrzaTest::settle();
        dismissAllBut(m_keep);
    }

    QWidget& m_mainWindow;
    QTimer m_sweeper;
    QPointer<QWidget> m_keep;
    int m_widgets = 0;
};

} // namespace

class RobustnessTest : public OrzaTest::IsolatedSuite {
    Q_OBJECT
    void setUp() override {
        previousHandler = qInstallMessageHandler(quietPlatform);
        GlazeMainApp::setPageOpener([](const QUrl&) { return true; });
        GlazeMainApp::setHelpWindowOpener([] { HelpWindow::showHelp(); });
    }
    void tearDown() override {
        GlazeMainApp::setHelpWindowOpener({});
        forgetPanelAnswers();
        qInstallMessageHandler(previousHandler);
    }

private slots:
    void everyPageAndSheetSurvivesARestlessHand();
};

void RobustnessTest::everyPageAndSheetSurvivesARestlessHand() {
    QElapsedTimer clock;
    clock.start();
    controller().launch({});
    QTRY_COMPARE(controller().windows().size(), 1);
    QPointer<BookWindow> window = controller().windows().first();
    QVERIFY(window->document()->isSample());
    window->resize(1100, 760);
    QVERIFY(OrzaTest::showActive(*window));
    BookDocument& document = *window->document();
    const GlazeCore::GlazeBook opened = document.book();
    Storm storm(*window);

    const auto show = [&](const std::optional<SidebarItem>& item) -> QWidget* {
        if (!window) return nullptr;
        window->model()->setSelection(item);
        OrzaTest::settle();
        return window->detail();
    };
    const auto showRecipe = [&](const GlazeCore::Uuid& id) -> QWidget* {
        return document.recipe(id) ? show(SidebarItem::recipe(id)) : nullptr;
    };
    // The recipe in front, whichever is first now: a key may have deleted the one before.
    const auto showFirstRecipe = [&]() -> QWidget* {
        const auto& recipes = document.book().recipes;
        return recipes.empty() ? nullptr : showRecipe(recipes.front().id);
    };

    // The whole window over the first recipe, then the pane of no selection, each recipe's pane, the test log
    // with its tile editor and the materials, the bundled ones and the potter's own with the editor.
    QVERIFY(storm.run([&]() -> QWidget* { return showFirstRecipe() ? window.data() : nullptr; }));
    QVERIFY(window);
    QVERIFY(storm.run([&] { return show(std::nullopt); }));
    for (const GlazeCore::Recipe& recipe : opened.recipes)
        QVERIFY(storm.run([&, id = recipe.id] { return showRecipe(id); }));
    QVERIFY(storm.run([&] { return show(SidebarItem::tests()); }));
    for (const auto scope : {MaterialsPage::Scope::bundled, MaterialsPage::Scope::custom})
        QVERIFY(storm.run([&, scope]() -> QWidget* {
            auto* page = qobject_cast<MaterialsPage*>(show(SidebarItem::materials()));
            if (!page) return nullptr;
            page->setScope(scope);
            if (scope == MaterialsPage::Scope::custom && !page->editor()) page->addMaterial();
            return page;
        }));

    // Every sheet and dialog over the first recipe, the material picker among them.
    for (const Command command :
         {Command::oxideNudge, Command::replaceMaterial, Command::lineBlend, Command::triaxialBlend, Command::gridBlend,
          Command::batchSheet, Command::printLabels, Command::renameRecipe, Command::deleteRecipe})
        QVERIFY2(storm.run([&, command]() -> QWidget* {
            if (!showFirstRecipe()) return nullptr;
            window->actions()->action(command)->trigger();
            return QApplication::activeModalWidget();
        }),
                 qPrintable(window->actions()->action(command)->text()));
    QVERIFY(storm.run([&]() -> QWidget* {
        auto* pane = qobject_cast<RecipePane*>(showFirstRecipe());
        if (!pane) return nullptr;
        RecipeLinesTable* lines = pane->linesTable();
        return lines->openPicker(lines->model()->index(0, RecipeLinesModel::materialColumn));
    }));
    QVERIFY(storm.run([&]() -> QWidget* {
        window->actions()->action(Command::pageSetup)->trigger();
        return QApplication::activeModalWidget();
    }));
    QVERIFY(storm.run([&]() -> QWidget* {
        auto* toolbar = window->findChild<BookToolbar*>();
        return toolbar ? toolbar->customize() : nullptr;
    }));
    QVERIFY(storm.run([&]() -> QWidget* {
        window->actions()->action(Command::help)->trigger();
        return HelpWindow::existing();
    }));

    // What a click opened besides (the help, the sample again) goes; this window stays.
    if (HelpWindow* help = HelpWindow::existing()) help->close();
    for (BookWindow* other : controller().windows())
        if (other != window) {
            other->approveClose();
            other->close();
        }
    OrzaTest::settle();
    QVERIFY(window);
    qInfo("%d widgets tried in %lld ms", storm.widgetsTried(), clock.elapsed());

    // The book as tried can be written, and undone step by step it is the book as it opened.
    try {
        QVERIFY(!GlazeCore::GlazeBookCodec::encode(document.book()).empty());
    } catch (const std::exception& error) {
        QFAIL(error.what());
    }
    // The panes follow every step: the test log with its tile editor shows while the steps are undone.
    show(SidebarItem::tests());
    while (document.undoStack()->canUndo())
        document.undoStack()->undo();
    QCOMPARE(document.book(), opened);
    MessageBox::takeRecordedAlerts();
    window->approveClose();
    window->close();
    OrzaTest::settle();
}

QTEST_MAIN(RobustnessTest)
#include "RobustnessTest.moc"
