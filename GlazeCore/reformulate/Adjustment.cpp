#include "GlazeCore/reformulate/Adjustment.h"

#include "GlazeCore/text/NumberText.h"
#include "GlazeCore/text/OxideText.h"

#include <algorithm>
#include <cmath>

namespace GlazeCore {

namespace {

constexpr auto heldClause = ", with the other oxides held as close as they can be.";

/// "<formula> ends <|value|> above|below"; both miss texts begin this way.
std::string missOpening(Oxide oxide, double value, const std::string& locale) {
    return OxideText::formula(oxide) + " ends " + NumberText::format(std::abs(value), {3, 3}, locale) + " " +
           (value < 0 ? "below" : "above");
}

bool contains(const std::vector<Oxide>& list, Oxide oxide) {
    return std::find(list.begin(), list.end(), oxide) != list.end();
}

} // namespace

std::string Adjustment::nudgeMissText(Oxide oxide, double value, Oxide nudged, const std::string& locale) {
    return missOpening(oxide, value, locale) + " its target" +
           (oxide == nudged ? ". These materials cannot bring it closer." : heldClause);
}

std::string Adjustment::replaceMissText(Oxide oxide, double value, const Adjustment& adjustment,
                                        const std::string& locale) {
    return replaceMissText(oxide, value, adjustment, locale, OxideTable::shared());
}

std::string Adjustment::replaceMissText(Oxide oxide, double value, const Adjustment& adjustment,
                                        const std::string& locale, const OxideTable::OnceLoad& oxides) {
    std::string text = missOpening(oxide, value, locale) + " the original";
    if (contains(adjustment.unsupplied, oxide)) return text + ". No material in the new recipe supplies it.";

    std::vector<Oxide> missingFluxes;
    for (const Oxide missing : adjustment.unsupplied) {
        const OxideInfo* info = oxides.find(missing);
        if (info != nullptr && info->role == OxideRole::flux) missingFluxes.push_back(missing);
    }
    if (value > 0 && contains(adjustment.standIn, oxide) && !missingFluxes.empty()) {
        text += ". The new material's " + OxideText::formula(oxide) + " takes the place of the missing ";
        for (std::size_t i = 0; i < missingFluxes.size(); ++i)
            text += (i == 0 ? "" : " and ") + OxideText::formula(missingFluxes[i]);
        return text + " as a flux.";
    }
    return text + heldClause;
}

} // namespace GlazeCore
