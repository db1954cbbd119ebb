#include "Orza/app/AppMenus.h"

#include "Orza/actions/ActionRegistry.h"
#include "Orza/app/DocumentController.h"
#include "Orza/platform/GlazeMainApp.h"
#include "Orza/window/BookWindow.h"

#include <QAction>
#include <QMenuBar>

namespace Orza {

namespace {

void addItems(QMenu* menu, const ActionRegistry& actions, std::initializer_list<std::optional<Command>> commands) {
    for (const auto& command : commands) {
        if (command)
            menu->addAction(actions.action(*command));
        else
            menu->addSeparator();
    }
}

void setDocumentHandlers(BookWindow& window, DocumentController& controller) {
    ActionRegistry& actions = *window.actions();
    BookWindow* w = &window;
    DocumentController* c = &controller;
    const auto on = [&](Command command, std::function<void()> run) { actions.setHandler(w, command, {run}); };
    on(Command::newBook, [c] { c->newDocument(); });
    on(Command::open, [c, w] { c->chooseAndOpen(w); });
    on(Command::close, [c, w] { c->close(w); });
    on(Command::save, [c, w] { c->save(w); });
    on(Command::saveAs, [c, w] { c->saveAs(w); });
    on(Command::revert, [c, w] { c->revertToSaved(w); });
    on(Command::quit, [c] { c->quit(); });
    on(Command::support, [w] { GlazeMainApp::openPage(GlazeMainApp::supportPage(), w); });
    on(Command::privacy, [w] { GlazeMainApp::openPage(GlazeMainApp::privacyPage(), w); });
    on(Command::openSample, [c] { c->newSampleDocument(); });
    if (const auto& openHelp = GlazeMainApp::helpWindowOpener()) on(Command::help, [openHelp] { openHelp(); });
}

} // namespace

void installAppMenus(BookWindow& window, DocumentController& controller) {
    setDocumentHandlers(window, controller);
    const ActionRegistry& actions = *window.actions();
    QMenuBar* bar = window.menuBar();
    using C = Command;
    addItems(bar->addMenu(QObject::tr("&File")), actions,
             {C::newBook,
              C::open,
              {},
              C::close,
              C::save,
              C::saveAs,
              C::revert,
              {},
              C::pageSetup,
              C::printBatchSheet,
              {},
              C::quit});
    addItems(bar->addMenu(QObject::tr("&Edit")), actions,
             {C::undo, C::redo, {}, C::cut, C::copy, C::paste, C::deleteSelection, C::selectAll});
    QMenu* view = bar->addMenu(QObject::tr("&View"));
    view->setObjectName(QStringLiteral("viewMenu"));
    addItems(view, actions,
             {C::toggleToolbar,
              C::customizeToolbar,
              {},
              C::toggleSidebar,
              {},
              C::toggleChemistry,
              {},
              C::showRecipes,
              C::showTests,
              C::showMaterials});
    addItems(bar->addMenu(QObject::tr("&Recipe")), actions,
             {C::addRecipe,
              C::renameRecipe,
              C::duplicateRecipe,
              C::deleteRecipe,
              {},
              C::addMaterial,
              {},
              C::oxideNudge,
              C::replaceMaterial,
              {},
              C::lineBlend,
              C::triaxialBlend,
              C::gridBlend,
              {},
              C::batchSheet});
    addItems(bar->addMenu(QObject::tr("&Tests")), actions, {C::addTest, C::findTest, {}, C::printLabels});
    QMenu* help = bar->addMenu(QObject::tr("&Help"));
    // The help window is a part of its own; the item shows once it has made itself known.
    if (GlazeMainApp::helpWindowOpener()) addItems(help, actions, {C::help, {}});
    addItems(help, actions, {C::support, C::privacy, {}, C::openSample});
}

} // namespace Orza
