#include "Orza/app/StartFolder.h"

#include "Orza/app/DocumentController.h"
#include "Orza/document/BookDocument.h"
#include "Orza/settings/Settings.h"
#include "Orza/window/BookWindow.h"

#include <QFileInfo>
#include <QWidget>

namespace Orza::StartFolder {

QString ofBook(const QWidget* widget) {
    for (const QWidget* up = widget; up; up = up->parentWidget())
        if (const auto* window = qobject_cast<const BookWindow*>(up)) {
            if (window->isUntitled()) return {};
            const QString folder = QFileInfo(window->document()->filePath()).absolutePath();
            return QFileInfo(folder).isDir() ? folder : QString();
        }
    return {};
}

QString forPanel(const QWidget* widget) {
    const QString book = ofBook(widget);
    return book.isEmpty() ? DocumentController::defaultFolder() : book;
}

void remember(const QString& chosenPath) {
    if (!chosenPath.isEmpty())
        Settings::instance().set(Settings::Key::lastFolder, QFileInfo(chosenPath).absolutePath());
}

} // namespace Orza::StartFolder
