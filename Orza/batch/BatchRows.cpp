#include "Orza/batch/BatchRows.h"

#include "GlazeCore/recipe/Batch.h"
#include "Orza/display/NumberDisplay.h"
#include "Orza/library/BookLibrary.h"

#include <QCoreApplication>

namespace Orza {

std::vector<BatchRow> batchRows(const GlazeCore::Recipe& recipe, const BookLibrary& library, double totalGrams,
                                double precision) {
    std::vector<BatchRow> rows;
    int id = 0;
    for (const GlazeCore::Batch::Row& line : GlazeCore::Batch::weightsOrEmpty(recipe, totalGrams, precision))
        rows.push_back(
            {id++, line.materialID, materialDisplayName(line.materialID, library), line.grams, line.isAddition});
    return rows;
}

QString batchRowTitle(const BatchRow& row) {
    if (!row.isAddition) return row.name;
    return QCoreApplication::translate("BatchSheet", "%1 (addition)").arg(row.name);
}

double batchRowsTotal(const std::vector<BatchRow>& rows) {
    double total = 0;
    for (const BatchRow& row : rows)
        total += row.grams;
    return total;
}

QString batchNoRowsText(const GlazeCore::Recipe& recipe, double totalGrams, double precision) {
    if (const auto problem = GlazeCore::Batch::problemText(recipe, totalGrams, precision))
        return QString::fromStdString(*problem);
    if (recipe.baseTotal() > 0) return QCoreApplication::translate("BatchSheet", "Enter a batch weight above 0 g.");
    return QCoreApplication::translate("BatchSheet", "Add base materials to the recipe first.");
}

QString precisionOptionText(double precision) {
    return QCoreApplication::translate("BatchSheet", "%1 g").arg(formatDouble(precision));
}

int gramsDecimals(double precision) {
    if (precision >= 1) return 0;
    if (precision >= 0.1) return 1;
    return 2; // a finer step, or one that is not a number
}

QString gramsText(double grams, double precision) {
    return formatDoublePlaces(gramsDecimals(precision), grams);
}

} // namespace Orza
