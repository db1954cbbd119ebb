#pragma once

#include "Orza/printing/PageContent.h"

#include <QSizeF>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QPrinter;
class QWidget;

/// Printing pages on paper with the user's page setup.
namespace Orza::Printing {

/// Whether a print could be made: false only when the printer could not be painted on.
using PrintDone = std::function<void(bool available)>;

/// How a page meets the paper: fitted to the printable part (scaled down, never up), or at its true size
/// from the paper's top left, as labels must be.
enum class PaperFit { shrinkToFit, actualSize };

/// Prints the pages on `printer` at once: each `pageSize` page placed on the paper as `fit` says, the range
/// and copies the printer holds honoured, titled `jobTitle`. False when painting on the printer cannot begin.
bool printPagesOn(QPrinter& printer, const std::vector<PageMaker>& pages, QSizeF pageSize, const QString& jobTitle,
                  PaperFit fit = PaperFit::shrinkToFit);

/// A printer for one job of its own: the shared set-up's destination, on paper of exactly `pageSize` points,
/// portrait, with no margins and the whole sheet to paint on. The shared set-up is left as it is.
std::shared_ptr<QPrinter> jobPrinter(QSizeF pageSize);

/// Shows the print panel window-modal over `window` for `printer`, then prints the pages on it as `fit`
/// says. A cancelled panel prints nothing and still counts as available.
void printPages(QWidget* window, std::shared_ptr<QPrinter> printer, std::vector<PageMaker> pages, QSizeF pageSize,
                const QString& jobTitle, PaperFit fit, PrintDone done);

/// Shows the print panel window-modal over `window` for the application's shared printer (its page setup
/// applies as it stands), then prints. Printing to a file offers `fileName` as Export PDF offers it. A cancelled
/// panel prints nothing and still counts as available.
void printPages(QWidget* window, std::vector<PageMaker> pages, QSizeF pageSize, const QString& jobTitle,
                const QString& fileName, PrintDone done);

} // namespace Orza::Printing
