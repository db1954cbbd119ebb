#include "Orza/batch/BatchPrintPage.h"

#include "Orza/batch/BatchPageLayout.h"
#include "Orza/display/TextDisplay.h"
#include "Orza/printing/PagePainting.h"
#include "Orza/printing/PdfPages.h"

#include <QCoreApplication>

namespace Orza {

Printing::PageMaker batchPageMaker(BatchPrintPage page) {
    return [page = std::move(page)](const QPaintDevice& device) -> std::unique_ptr<Printing::PageContent> {
        return std::make_unique<BatchPageLayout>(page, device);
    };
}

QByteArray makeBatchPDF(const BatchPrintPage& page) {
    return Printing::makePdf({batchPageMaker(page)}, Printing::letterPage, batchJobTitle(page.recipe));
}

void printBatchPage(QWidget* window, const BatchPrintPage& page, const QString& jobTitle, Printing::PrintDone done) {
    Printing::printPages(window, {batchPageMaker(page)}, Printing::letterPage, jobTitle, batchPdfFileName(page.recipe),
                         std::move(done));
}

QString batchJobTitle(const GlazeCore::Recipe& recipe) {
    // The print system shows the job's title with the desktop's.
    return QCoreApplication::translate("BatchSheet", "%1 batch").arg(visibleText(recipe.name));
}

QString batchPdfFileName(const GlazeCore::Recipe& recipe) {
    return QCoreApplication::translate("BatchSheet", "%1 batch.pdf").arg(shownText(recipe.name, quotedTextLimit));
}

} // namespace Orza
