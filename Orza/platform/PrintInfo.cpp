#include "Orza/platform/PrintInfo.h"

#include <QPageSetupDialog>
#include <QPointer>
#include <QPrinter>

namespace Orza::PrintInfo {

namespace {

QPointer<QPageSetupDialog>& panel() {
    static QPointer<QPageSetupDialog> open;
    return open;
}

} // namespace

QPrinter& shared() {
    // Kept to the end of the process: a printer torn down after the application can touch a gone print system.
    static auto* printer = new QPrinter;
    return *printer;
}

void runPageLayout(QWidget* parent) {
    if (QPageSetupDialog* open = panel()) {
        open->raise();
        open->activateWindow();
        return;
    }
    auto* dialog = new QPageSetupDialog(&shared(), parent ? parent->window() : nullptr);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    panel() = dialog;
    dialog->open();
}

QPageSetupDialog* openPanel() {
    return panel();
}

} // namespace Orza::PrintInfo
