#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace Orza::Printing {

/// The bytes of a whole PDF file, as offered for saving.
struct PdfFile {
    QByteArray data;

    /// The file's contents; an empty or unreadable file gives no bytes, never an error.
    static PdfFile read(const QString& path);

    /// Writes the file in one step, so an existing file is replaced whole or not at all. The reason,
    /// as the system words it and a message may quote it (visibleText), when it could not be written.
    std::optional<QString> write(const QString& path) const;
};

} // namespace Orza::Printing
