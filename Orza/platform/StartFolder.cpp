#include "Orza/platform/StartFolder.h"

#include "Orza/settings/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QWidget>

namespace Orza::StartFolder {

namespace {

QString existingFolder(const QString& folder) {
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

} // namespace

QString ofBook(const QWidget* widget) {
    for (const QWidget* up = widget; up; up = up->parentWidget())
        if (const QString file = up->windowFilePath(); !file.isEmpty())
            return existingFolder(QFileInfo(file).absolutePath());
    return {};
}

QString lastUsed() {
    if (QString last = existingFolder(Settings::instance().stringValue(Settings::Key::lastFolder)); !last.isEmpty())
        return last;
    if (QString documents = existingFolder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        !documents.isEmpty())
        return documents;
    return QDir::homePath();
}

QString forPanel(const QWidget* widget) {
    const QString book = ofBook(widget);
    return book.isEmpty() ? lastUsed() : book;
}

void remember(const QString& chosenPath) {
    if (!chosenPath.isEmpty())
        Settings::instance().set(Settings::Key::lastFolder, QFileInfo(chosenPath).absolutePath());
}

} // namespace Orza::StartFolder
