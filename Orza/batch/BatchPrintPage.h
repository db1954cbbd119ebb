#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "Orza/batch/BatchRows.h"
#include "Orza/printing/PageContent.h"
#include "Orza/printing/PagePrinter.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

class QWidget;

namespace Orza {

/// The printed weighing list of one recipe: what its one US Letter page shows.
struct BatchPrintPage {
    /// Its name, cone and notes are printed.
    GlazeCore::Recipe recipe;
    std::vector<BatchRow> rows;
    /// The weight asked for, shown in the header line.
    double totalGrams = 0;
    /// A weight without unit, as the sheet shows it for the chosen step.
    std::function<QString(double)> gramsText;
};

/// Lays the page out for the device it is painted on.
Printing::PageMaker batchPageMaker(BatchPrintPage page);

/// The page as a one-page 612 × 792 point PDF; empty when it could not be drawn.
QByteArray makeBatchPDF(const BatchPrintPage& page);

/// Shows the print panel window-modal over `window` and prints the page titled `jobTitle`; `done` gets
/// false when printing is not available.
void printBatchPage(QWidget* window, const BatchPrintPage& page, const QString& jobTitle, Printing::PrintDone done);

/// The print job's title: the recipe's name followed by " batch".
QString batchJobTitle(const GlazeCore::Recipe& recipe);
/// The file name offered for the PDF: the recipe's name followed by " batch.pdf".
QString batchPdfFileName(const GlazeCore::Recipe& recipe);

} // namespace Orza
