#include "Orza/reformulate/NudgeRules.h"

#include "GlazeCore/core/Rounding.h"
#include "Orza/chemistry/ChemistryTexts.h"
#include "Orza/display/NumberDisplay.h"

#include <algorithm>
#include <cmath>

namespace Orza::NudgeRules {

using GlazeCore::Oxide;

double currentValue(const std::optional<GlazeCore::Chemistry>& base, Oxide oxide) {
    return base ? GlazeCore::oxideValue(base->umf, oxide) : 0.0;
}

bool isPresentInBase(const std::optional<GlazeCore::Chemistry>& base, Oxide oxide) {
    return currentValue(base, oxide) > presentThreshold;
}

std::pair<std::vector<Oxide>, std::vector<Oxide>> pickerGroups(const std::optional<GlazeCore::Chemistry>& base) {
    std::pair<std::vector<Oxide>, std::vector<Oxide>> groups;
    for (const Oxide oxide : GlazeCore::OxideNames::allCases())
        (isPresentInBase(base, oxide) ? groups.first : groups.second).push_back(oxide);
    return groups;
}

double initialTarget(double current, int direction) {
    if (direction == 0) return current;
    const double moved = std::max(0.0, current + direction * stepperStep);
    return GlazeCore::roundHalfAwayFromZero(moved * 1000) / 1000;
}

std::optional<double> stepped(double target, int direction) {
    if (direction > 0 && !(target < stepperMaximum)) return std::nullopt;
    if (direction < 0 && !(target > stepperMinimum)) return std::nullopt;
    return std::clamp(target + direction * stepperStep, stepperMinimum, stepperMaximum);
}

QString changeText(double target, double current, const QLocale& locale) {
    const double delta = target - current;
    if (std::abs(delta) < 0.0005) return QStringLiteral("0");
    return (delta > 0 ? QStringLiteral("+") : QStringLiteral("\u2212")) +
           formatDoublePlaces(3, std::abs(delta), locale);
}

bool hasChanges(const GlazeCore::Recipe& adjusted, const GlazeCore::Recipe& current) {
    if (adjusted.lines.size() != current.lines.size()) return true;
    const double tolerance = 1e-9 * std::max(current.baseTotal(), 1.0);
    for (std::size_t i = 0; i < adjusted.lines.size(); ++i) {
        const GlazeCore::RecipeLine& a = adjusted.lines[i];
        const GlazeCore::RecipeLine& c = current.lines[i];
        if (a.materialID != c.materialID || a.isAddition != c.isAddition) return true;
        if (std::abs(a.amount - c.amount) > tolerance) return true;
    }
    return false;
}

QString copySuffix(Oxide oxide, double target, const QLocale& locale) {
    return QStringLiteral(" \u2013 ") + ChemistryTexts::formula(oxide) + QLatin1Char(' ') +
           formatDoublePlaces(2, target, locale);
}

} // namespace Orza::NudgeRules
