#include "Orza/platform/FileDialog.h"

#include "Orza/document/BookFileType.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

#include <utility>

namespace Orza {

std::optional<QString> FileDialog::s_nextFileName;

namespace {

void show(QFileDialog* dialog, const FileDialog::Callback& done) {
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setNameFilters(BookFileType::nameFilters().split(QStringLiteral(";;")));
    dialog->setDefaultSuffix(QLatin1String(BookFileType::suffix));
    QObject::connect(dialog, &QFileDialog::finished, dialog, [dialog, done](int result) {
        const QStringList files = dialog->selectedFiles();
        done(result == QDialog::Accepted && !files.isEmpty() ? files.first() : QString());
    });
    dialog->open();
}

QString documentsFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return folder.isEmpty() ? QDir::homePath() : folder;
}

} // namespace

void FileDialog::chooseBookToOpen(QWidget* window, Callback done) {
    if (s_nextFileName) {
        done(*std::exchange(s_nextFileName, std::nullopt));
        return;
    }
    auto* dialog = new QFileDialog(window, QFileDialog::tr("Open"), documentsFolder());
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    show(dialog, done);
}

void FileDialog::chooseSaveLocation(QWidget* window, const QString& suggestedName, Callback done) {
    if (s_nextFileName) {
        done(*std::exchange(s_nextFileName, std::nullopt));
        return;
    }
    auto* dialog = new QFileDialog(window, QFileDialog::tr("Save As"), documentsFolder());
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->selectFile(suggestedName);
    show(dialog, done);
}

void FileDialog::setNextFileName(const QString& path) {
    s_nextFileName = path;
}

bool FileDialog::clearNextFileName() {
    return !std::exchange(s_nextFileName, std::nullopt).has_value();
}

} // namespace Orza
