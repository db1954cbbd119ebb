#pragma once

#include "GlazeCore/book/BookTypes.h"

#include <QString>

#include <array>
#include <string>
#include <vector>

namespace Orza {

class BookLibrary;

/// One row of the weighing list.
struct BatchRow {
    /// The row's place in the list, 0 for the first.
    int id = 0;
    std::string materialID;
    /// The material as shown: its name, "Choose material" or "Unknown material (id)".
    QString name;
    /// The weight rounded to the scale's step.
    double grams = 0;
    bool isAddition = false;
};

/// The recipe's lines with an amount, scaled to `totalGrams` and rounded to `precision`, in line order;
/// no rows when the recipe cannot be scaled.
std::vector<BatchRow> batchRows(const GlazeCore::Recipe& recipe, const BookLibrary& library, double totalGrams,
                                double precision);

/// The row's material text: its name, followed by " (addition)" for an addition.
QString batchRowTitle(const BatchRow& row);

/// The sum of the rows' rounded weights, additions included.
double batchRowsTotal(const std::vector<BatchRow>& rows);

/// What stands in place of an empty list: why the recipe cannot be scaled.
QString batchNoRowsText(const GlazeCore::Recipe& recipe, double totalGrams, double precision);

/// The steps the precision picker offers, in grams.
inline constexpr std::array<double, 4> batchPrecisionOptions{1, 0.5, 0.1, 0.01};
/// A step as the picker names it: "0.5 g".
QString precisionOptionText(double precision);

/// The decimals weights are shown with, by the step's size whatever step is stored: 0 for a step of 1 g or
/// more, 1 from 0.1 g, else 2 (a finer step, or none).
int gramsDecimals(double precision);
/// A weight with gramsDecimals() decimals, grouped in the user's locale, without unit.
QString gramsText(double grams, double precision);

} // namespace Orza
