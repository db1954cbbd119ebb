#include "Orza/printing/PdfFile.h"

#include "Orza/display/TextDisplay.h"

#include <QFile>
#include <QSaveFile>

namespace Orza::Printing {

PdfFile PdfFile::read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return {file.readAll()};
}

std::optional<QString> PdfFile::write(const QString& path) const {
    QSaveFile file(path);
    // The system's reasons can name the file, path and all.
    const auto reason = [&] { return visibleText(file.errorString()); };
    if (!file.open(QIODevice::WriteOnly)) return reason();
    if (file.write(data) != data.size()) {
        const QString why = reason();
        file.cancelWriting();
        return why;
    }
    if (!file.commit()) return reason();
    return std::nullopt;
}

} // namespace Orza::Printing
