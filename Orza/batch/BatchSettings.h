#pragma once

/// The batch weight and the scale's step, per-user settings shared by every batch sheet and the menu's
/// print. Read at each use, each with its default when missing or not a number.
namespace Orza::BatchSettings {

/// Grams, 1000 by default.
double totalGrams();
void setTotalGrams(double grams);

/// The weighing step in grams, 0.1 by default.
double precision();
void setPrecision(double step);

} // namespace Orza::BatchSettings
