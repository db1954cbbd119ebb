#include "Orza/printing/PdfFile.h"

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
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    if (file.write(data) != data.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit()) return file.errorString();
    return std::nullopt;
}

} // namespace Orza::Printing
