#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/chemistry/Chemistry.h"

#include <QLocale>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

// What the Oxide Nudge sheet decides apart from its widgets: where the target starts, how its change
// reads, which oxides the picker offers first and when a result changes the recipe at all.
namespace Orza::NudgeRules {

/// The base UMF below which an oxide counts as absent.
inline constexpr double presentThreshold = 0.00005;
/// The stepper's range and step.
inline constexpr double stepperMinimum = 0;
inline constexpr double stepperMaximum = 50;
inline constexpr double stepperStep = 0.05;

/// The oxide's value in the base chemistry, 0 without one (the calculation failed) or without the oxide.
double currentValue(const std::optional<GlazeCore::Chemistry>& base, GlazeCore::Oxide oxide);
/// The oxide is in the base above presentThreshold.
bool isPresentInBase(const std::optional<GlazeCore::Chemistry>& base, GlazeCore::Oxide oxide);
/// The oxides the picker lists before its divider, then those after it, each in oxide order.
std::pair<std::vector<GlazeCore::Oxide>, std::vector<GlazeCore::Oxide>>
pickerGroups(const std::optional<GlazeCore::Chemistry>& base);

/// Where a request starts the target: the current value unrounded for direction 0, else one step that
/// way, not below 0, to 3 decimals.
double initialTarget(double current, int direction);
/// One press of the stepper from `target`, held to the stepper's range; none when that way is closed.
std::optional<double> stepped(double target, int direction);

/// "0" within half a thousandth, else "+0.010" or "−0.010" (U+2212).
QString changeText(double target, double current, const QLocale& locale = {});

/// Whether the adjusted recipe differs from the current one in its lines' materials, flags or amounts
/// (beyond a billionth of the base); the solver's fresh line ids do not count.
bool hasChanges(const GlazeCore::Recipe& adjusted, const GlazeCore::Recipe& current);

/// " – Al₂O₃ 0.35": what a nudged copy's name ends with.
QString copySuffix(GlazeCore::Oxide oxide, double target, const QLocale& locale = {});

} // namespace Orza::NudgeRules
