#include "Orza/actions/HelpMenuItems.h"

#include "Orza/window/BookWindow.h"
#include "Orza/app/GlazeMainApp.h"
#include "Orza/app/DocumentController.h"

#include <QMenuBar>

namespace Orza {

namespace {

QAction* addItem(QMenu* menu, const QString& title, const QString& hint) {
    QAction* action = menu->addAction(title);
    action->setStatusTip(hint);
    action->setToolTip(hint);
    return action;
}

} // namespace

void installHelpMenu(BookWindow& window, DocumentController& controller) {
    QMenu* help = window.menuBar()->addMenu(QObject::tr("&Help"));
    const QString name = GlazeMainApp::appName();
    if (const auto& openHelp = GlazeMainApp::helpWindowOpener()) {
        QAction* item = addItem(help, QObject::tr("%1 Help").arg(name), QObject::tr("Opens the help window"));
        item->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Question));
        QObject::connect(item, &QAction::triggered, help, [openHelp] { openHelp(); });
        help->addSeparator();
    }
    QAction* support =
        addItem(help, QObject::tr("%1 Support").arg(name), QObject::tr("Opens the support page in your web browser"));
    QObject::connect(support, &QAction::triggered, help, [] { GlazeMainApp::openPage(GlazeMainApp::supportPage()); });
    QAction* privacy =
        addItem(help, QObject::tr("Privacy Policy"), QObject::tr("Opens the privacy policy in your web browser"));
    QObject::connect(privacy, &QAction::triggered, help, [] { GlazeMainApp::openPage(GlazeMainApp::privacyPage()); });
    help->addSeparator();
    QAction* sample = addItem(help, QObject::tr("Open Sample Book"),
                              QObject::tr("Opens a new untitled book with six sample cone 6 recipes"));
    DocumentController* c = &controller;
    QObject::connect(sample, &QAction::triggered, help, [c] { c->newSampleDocument(); });
}

} // namespace Orza
