#include "Orza/printing/PdfSaveDialog.h"

#include "Orza/platform/FittedFileName.h"
#include "Orza/platform/ScreenFit.h"
#include "Orza/platform/StartFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>

#include <utility>

namespace Orza::Printing {

std::optional<PdfSaveDialog::Answer> PdfSaveDialog::s_next;

QString PdfSaveDialog::fileNameFor(const QString& suggestedName) {
    QString name = suggestedName;
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    // A line break or other control character (a NUL would cut the name) reads as the space it stands for.
    for (QChar& c : name) {
        const auto category = c.category();
        if (category == QChar::Other_Control || category == QChar::Separator_Line ||
            category == QChar::Separator_Paragraph)
            c = QLatin1Char(' ');
    }
    return fittedFileName(name);
}

void PdfSaveDialog::chooseLocation(QWidget* window, const QString& suggestedName, Callback done) {
    const QString offered = fileNameFor(suggestedName);
    if (s_next) {
        const Answer answer = *std::exchange(s_next, std::nullopt);
        done(answer(offered));
        return;
    }
    auto* dialog = new QFileDialog(window, QCoreApplication::translate("PdfSaveDialog", "Export PDF"),
                                   StartFolder::forPanel(window));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setNameFilter(QCoreApplication::translate("PdfSaveDialog", "PDF documents (*.pdf)"));
    dialog->setDefaultSuffix(QStringLiteral("pdf"));
    dialog->selectFile(offered);
    QObject::connect(dialog, &QFileDialog::finished, dialog, [dialog, done](int result) {
        const QStringList files = dialog->selectedFiles();
        const QString path = result == QDialog::Accepted && !files.isEmpty() ? files.first() : QString();
        StartFolder::remember(path);
        done(path);
    });
    ScreenFit::keep(dialog);
    dialog->open();
}

void PdfSaveDialog::setNextFileName(const QString& path) {
    s_next = [path](const QString&) { return path; };
}

void PdfSaveDialog::setNextFolder(const QString& folder) {
    s_next = [folder](const QString& offered) { return QDir(folder).filePath(offered); };
}

bool PdfSaveDialog::clearNextAnswer() {
    return !std::exchange(s_next, std::nullopt).has_value();
}

} // namespace Orza::Printing
