#pragma once

#include "Orza/printing/PageContent.h"

#include <QSizeF>
#include <QString>

#include <functional>
#include <vector>

class QPrinter;
class QWidget;

/// Printing pages on paper with the user's page setup.
namespace Orza::Printing {

/// Whether a print could be made: false only when the printer could not be painted on.
using PrintDone = std::function<void(bool available)>;

/// Prints the pages on `printer` at once: each `pageSize` page fitted to the printable part of the paper
/// (scaled down, never up, top left), the range and copies the printer holds honoured, titled `jobTitle`.
/// False when painting on the printer cannot begin.
bool printPagesOn(QPrinter& printer, const std::vector<PageMaker>& pages, QSizeF pageSize, const QString& jobTitle);

/// Shows the print panel window-modal over `window` for the application's shared printer (its page setup
/// applies as it stands), then prints. A cancelled panel prints nothing and still counts as available.
void printPages(QWidget* window, std::vector<PageMaker> pages, QSizeF pageSize, const QString& jobTitle,
                PrintDone done);

} // namespace Orza::Printing
