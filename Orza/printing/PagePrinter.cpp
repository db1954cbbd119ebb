#include "Orza/printing/PagePrinter.h"

#include "Orza/platform/PrintInfo.h"
#include "Orza/printing/PagePainting.h"
#include "Orza/printing/PdfSaveDialog.h"
#include "Orza/printing/PrintDialog.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <memory>

namespace Orza::Printing {

namespace {

/// The pages to paint, in order: the printer's range (all when it holds none), each page or the whole
/// range repeated for the copies that the print system does not make itself.
std::vector<std::size_t> paintOrder(const QPrinter& printer, std::size_t pageCount) {
    std::size_t first = 0;
    std::size_t last = pageCount;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::min<std::size_t>(std::size_t(printer.fromPage()) - 1, pageCount);
        last = std::clamp<std::size_t>(std::size_t(std::max(printer.toPage(), printer.fromPage())), first, pageCount);
    }
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    // Collated copies repeat the whole range; uncollated ones repeat each page in place.
    const int rounds = printer.collateCopies() ? copies : 1;
    const int each = printer.collateCopies() ? 1 : copies;
    std::vector<std::size_t> order;
    for (int round = 0; round < rounds; ++round)
        for (std::size_t page = first; page < last; ++page)
            order.insert(order.end(), std::size_t(each), page);
    return order;
}

} // namespace

bool printPagesOn(QPrinter& printer, const std::vector<PageMaker>& pages, QSizeF pageSize, const QString& jobTitle,
                  PaperFit fit) {
    printer.setDocName(jobTitle);
    const std::vector<std::size_t> order = paintOrder(printer, pages.size());
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const qreal paperScale =
        fit == PaperFit::actualSize ? 1 : fitScale(pageSize, printer.pageRect(QPrinter::Point).size());
    std::vector<std::unique_ptr<PageContent>> laidOut(pages.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i > 0) printer.newPage();
        auto& content = laidOut[order[i]];
        if (!content) content = pages[order[i]](printer);
        paintPage(painter, *content, pageSize, paperScale);
    }
    return painter.end();
}

void printPages(QWidget* window, std::vector<PageMaker> pages, QSizeF pageSize, const QString& jobTitle,
                const QString& fileName, PrintDone done) {
    QPrinter& printer = PrintInfo::shared();
    // The panel makes its print-to-file name from the document's name, keeping a name's slashes as folders; the
    // job is titled once it prints.
    printer.setDocName(PdfSaveDialog::fileNameFor(fileName));
    PrintDialog::run(window, printer, int(pages.size()),
                     [pages = std::move(pages), pageSize, jobTitle, done = std::move(done)](bool print) {
                         if (!print) {
                             done(true);
                             return;
                         }
                         const bool printed = printPagesOn(PrintInfo::shared(), pages, pageSize, jobTitle);
                         done(printed);
                     });
}

std::shared_ptr<QPrinter> jobPrinter(QSizeF pageSize) {
    const QPrinter& shared = PrintInfo::shared();
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    if (shared.outputFormat() == QPrinter::PdfFormat)
        printer->setOutputFileName(shared.outputFileName());
    else if (!shared.printerName().isEmpty())
        printer->setPrinterName(shared.printerName());
    printer->setColorMode(shared.colorMode());
    printer->setFullPage(true);
    // Full-page mode takes margins below what the printer can reach: the page is placed on the sheet as is.
    QPageLayout layout(QPageSize(pageSize, QPageSize::Point, QString(), QPageSize::ExactMatch), QPageLayout::Portrait,
                       QMarginsF(), QPageLayout::Point);
    layout.setMode(QPageLayout::FullPageMode);
    printer->setPageLayout(layout);
    return printer;
}

void printPages(QWidget* window, std::shared_ptr<QPrinter> printer, std::vector<PageMaker> pages, QSizeF pageSize,
                const QString& jobTitle, PaperFit fit, PrintDone done) {
    printer->setDocName(jobTitle);
    QPrinter& target = *printer;
    // The panel's callback keeps the printer for as long as the job needs it.
    PrintDialog::run(window, target, int(pages.size()),
                     [printer = std::move(printer), pages = std::move(pages), pageSize, jobTitle, fit,
                      done = std::move(done)](bool print) {
                         if (!print) {
                             done(true);
                             return;
                         }
                         done(printPagesOn(*printer, pages, pageSize, jobTitle, fit));
                     });
}

} // namespace Orza::Printing
