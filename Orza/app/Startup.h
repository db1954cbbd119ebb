#pragma once

#include <QStringList>

class QApplication;

namespace Orza::Startup {

/// Readies the application (its resources, translations, palette, style, wheel and focus filters, names and help
/// window), then hands the files of the command line to the document controller, which opens them, or a new book.
void start(QApplication& application, const QStringList& files);

} // namespace Orza::Startup
