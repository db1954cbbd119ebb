#include "Orza/platform/FileDialog.h"

#include "Orza/document/BookFileType.h"
#include "Orza/platform/FittedFileName.h"
#include "Orza/platform/ScreenFit.h"

#include <QFileDialog>

#include <utility>

namespace Orza {

std::optional<QString> FileDialog::s_nextFileName;
std::optional<FileDialog::Request> FileDialog::s_lastRequest;

namespace {

void show(QFileDialog* dialog, const FileDialog::Callback& done) {
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setNameFilters(BookFileType::nameFilters().split(QStringLiteral(";;")));
    QObject::connect(dialog, &QFileDialog::finished, dialog, [dialog, done](int result) {
        const QStringList files = dialog->selectedFiles();
        done(result == QDialog::Accepted && !files.isEmpty() ? files.first() : QString());
    });
    ScreenFit::keep(dialog);
    dialog->open();
}

} // namespace

void FileDialog::chooseBookToOpen(QWidget* window, const QString& folder, Callback done) {
    s_lastRequest = Request{Request::Kind::open, folder, QString(), window};
    if (s_nextFileName) {
        done(*std::exchange(s_nextFileName, std::nullopt));
        return;
    }
    auto* dialog = new QFileDialog(window, QFileDialog::tr("Open"));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    // A folder, never a path: a folder that does not exist would stand in the name box.
    dialog->setDirectory(folder);
    show(dialog, done);
}

void FileDialog::chooseSaveLocation(QWidget* window, const QString& folder, const QString& suggestedName,
                                    Callback done) {
    // A book's name can be longer than a file's may be.
    const QString offered = fittedFileName(suggestedName);
    s_lastRequest = Request{Request::Kind::save, folder, offered, window};
    if (s_nextFileName) {
        done(*std::exchange(s_nextFileName, std::nullopt));
        return;
    }
    auto* dialog = new QFileDialog(window, QFileDialog::tr("Save As"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    // A name typed without the suffix gets it when saving only: a path typed into the open panel is opened as
    // it stands, so that Orza says what is wrong with the file rather than that nothing is there.
    dialog->setDefaultSuffix(QLatin1String(BookFileType::suffix));
    dialog->setDirectory(folder);
    dialog->selectFile(offered);
    show(dialog, done);
}

void FileDialog::setNextFileName(const QString& path) {
    s_nextFileName = path;
}

bool FileDialog::clearNextFileName() {
    return !std::exchange(s_nextFileName, std::nullopt).has_value();
}

} // namespace Orza
