#include "Orza/actions/AppMenus.h"

#include "Orza/window/BookWindow.h"
#include "Orza/document/BookDocument.h"
#include "Orza/app/DocumentController.h"
#include "Orza/actions/FocusedValues.h"
#include "Orza/actions/HelpMenuItems.h"
#include "Orza/actions/RecipeCommands.h"

#include <QMenuBar>
#include <QUndoStack>

namespace Orza {

namespace {

QAction* addItem(QMenu* menu, const QString& title, const QKeySequence& keys, std::function<void()> run) {
    QAction* action = menu->addAction(title);
    action->setShortcut(keys);
    QObject::connect(action, &QAction::triggered, menu, std::move(run));
    return action;
}

void installFileMenu(BookWindow& window, DocumentController& controller, FocusedValues& focused) {
    QMenu* file = window.menuBar()->addMenu(QObject::tr("&File"));
    BookWindow* w = &window;
    DocumentController* c = &controller;
    addItem(file, QObject::tr("New"), QKeySequence::New, [c] { c->newDocument(); });
    addItem(file, QObject::tr("Open\u2026"), QKeySequence::Open, [c, w] { c->chooseAndOpen(w); });
    file->addSeparator();
    addItem(file, QObject::tr("Close"), QKeySequence::Close, [c, w] { c->close(w); });
    addItem(file, QObject::tr("Save"), QKeySequence::Save, [c, w] { c->save(w); });
    addItem(file, QObject::tr("Save As\u2026"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
            [c, w] { c->saveAs(w); });
    QAction* revert = addItem(file, QObject::tr("Revert to Saved"), {}, [c, w] { c->revertToSaved(w); });
    const auto updateRevert = [revert, w] { revert->setEnabled(!w->isUntitled() && w->document()->isModified()); };
    QObject::connect(w->document(), &BookDocument::modifiedChanged, revert, updateRevert);
    QObject::connect(w->document(), &BookDocument::filePathChanged, revert, updateRevert);
    updateRevert();
    file->addSeparator();
    PrintCommands::install(*file, focused);
    file->addSeparator();
    QAction* quit = addItem(file, QObject::tr("Quit"), QKeySequence::Quit, [c] { c->quit(); });
    quit->setMenuRole(QAction::QuitRole);
}

void installEditMenu(BookWindow& window) {
    QMenu* edit = window.menuBar()->addMenu(QObject::tr("&Edit"));
    QUndoStack* stack = window.document()->undoStack();
    QAction* undo = stack->createUndoAction(edit, QObject::tr("Undo"));
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = stack->createRedoAction(edit, QObject::tr("Redo"));
    redo->setShortcut(QKeySequence::Redo);
    edit->addAction(undo);
    edit->addAction(redo);
}

} // namespace

void installAppMenus(BookWindow& window, DocumentController& controller) {
    auto* focused = new FocusedValues(&window, window.menuBar());
    installFileMenu(window, controller, *focused);
    installEditMenu(window);
    QMenu* view = window.menuBar()->addMenu(QObject::tr("&View"));
    view->setObjectName(QStringLiteral("viewMenu"));
    PageCommands::install(*view, *focused);
    RecipeCommands::install(*window.menuBar(), *focused);
    TestsCommands::install(*window.menuBar(), *focused);
    installHelpMenu(window, controller);
}

} // namespace Orza
