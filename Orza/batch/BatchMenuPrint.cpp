#include "Orza/batch/BatchMenuPrint.h"

#include "GlazeCore/book/RecipeCheck.h"
#include "Orza/batch/BatchPrintPage.h"
#include "Orza/batch/BatchRows.h"
#include "Orza/batch/BatchSettings.h"
#include "Orza/platform/MessageBox.h"
#include "Orza/platform/SystemBeep.h"

#include <QCoreApplication>

namespace Orza {

void printBatchSheetFromMenu(QWidget* window, const GlazeCore::Recipe& recipe, const BookLibrary& library) {
    if (const auto warning = GlazeCore::RecipeCheck::batchWarning(recipe)) {
        MessageBox::alert(window, QCoreApplication::translate("BatchSheet", "The batch sheet cannot be printed"),
                          QString::fromStdString(*warning));
        return;
    }
    const double total = BatchSettings::totalGrams();
    const double precision = BatchSettings::precision();
    std::vector<BatchRow> rows = batchRows(recipe, library, total, precision);
    if (rows.empty()) {
        SystemBeep::beep();
        return;
    }
    const BatchPrintPage page{recipe, std::move(rows), total,
                              [precision](double grams) { return gramsText(grams, precision); }};
    printBatchPage(window, page, batchJobTitle(recipe), [](bool available) {
        if (!available) SystemBeep::beep();
    });
}

} // namespace Orza
