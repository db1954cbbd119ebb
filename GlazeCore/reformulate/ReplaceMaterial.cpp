#include "GlazeCore/reformulate/ReplaceMaterial.h"

#include "GlazeCore/reformulate/OxideNudge.h"
#include "GlazeCore/reformulate/ReformulateError.h"
#include "GlazeCore/reformulate/ReformulateLeastSquares.h"
#include "GlazeCore/text/UnicodeText.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace GlazeCore::Reformulate {

namespace {

bool isBaseLineOf(const RecipeLine& line, const std::string& id) {
    return !line.isAddition && UnicodeText::canonicallyEqual(line.materialID, id);
}

/// The recipe with the new material on the old one's first base line, or folded into its own base line
/// when it already has one. Additions of the old material stay.
Recipe swapped(const Recipe& recipe, const std::string& oldID, const std::string& newID) {
    const bool newIsBase = std::any_of(recipe.lines.begin(), recipe.lines.end(),
                                       [&](const RecipeLine& l) { return isBaseLineOf(l, newID); });
    Recipe working = recipe;
    working.lines.clear();
    bool firstOld = true;
    for (const RecipeLine& line : recipe.lines) {
        if (!isBaseLineOf(line, oldID)) {
            working.lines.push_back(line);
            continue;
        }
        if (firstOld && !newIsBase) {
            RecipeLine moved = line;
            moved.materialID = newID;
            working.lines.push_back(std::move(moved));
        }
        firstOld = false;
    }
    return working;
}

} // namespace

Adjustment replaceMaterial(const Recipe& recipe, const std::string& oldID, const std::string& newID,
                           const MaterialLibrary& library) {
    return replaceMaterial(recipe, oldID, newID, library, OxideTable::shared());
}

Adjustment replaceMaterial(const Recipe& recipe, const std::string& oldID, const std::string& newID,
                           const MaterialLibrary& library, const OxideTable::OnceLoad& oxides) {
    const OxideTable::Map& table = oxides.table();
    if (std::none_of(recipe.lines.begin(), recipe.lines.end(),
                     [&](const RecipeLine& line) { return isBaseLineOf(line, oldID); }))
        throw ReformulateError::notInRecipe(oldID);
    const Material* replacement = library.material(newID);
    if (replacement == nullptr) throw ReformulateError::unknownMaterial(newID);
    Chemistry before = baseChemistry(recipe, library, table);
    if (before.umf.empty()) throw ReformulateError::noFlux();
    if (UnicodeText::canonicallyEqual(newID, oldID)) {
        Chemistry after = before;
        std::map<Oxide, double> target(before.umf.begin(), before.umf.end());
        return Adjustment{recipe, std::move(before), std::move(after), std::move(target), {}, {}, {}};
    }

    const Recipe working = swapped(recipe, oldID, newID);
    const std::vector<std::string> candidates = baseMaterialIDs(working, library, {});

    std::set<Oxide> supplied;
    for (const std::string& id : candidates)
        if (const Material* material = library.material(id))
            for (const auto& [oxide, percent] : material->analysis)
                if (percent > 0) supplied.insert(oxide);

    std::set<Oxide> present;
    for (const auto& [oxide, value] : before.umf)
        present.insert(oxide);
    std::vector<Oxide> unsupplied = presentOxidesNotIn(present, supplied, before.umf);
    std::sort(unsupplied.begin(), unsupplied.end(), oxideOrder);

    const auto isFlux = [&](Oxide oxide) {
        const auto it = table.find(oxide);
        return it != table.end() && it->second.role == OxideRole::flux;
    };
    double missingFlux = 0;
    for (const Oxide oxide : unsupplied)
        if (isFlux(oxide)) missingFlux += before.umf.at(oxide);

    std::map<Oxide, double> goal(before.umf.begin(), before.umf.end());
    bool unityRow = true;
    std::vector<Oxide> standIn;
    if (missingFlux > 0) {
        for (const Oxide oxide : unsupplied)
            goal.erase(oxide);
        std::map<Oxide, double> newFluxMoles;
        for (const auto& [oxide, percent] : replacement->analysis) {
            const auto info = table.find(oxide);
            if (percent > 0 && info != table.end() && info->second.role == OxideRole::flux &&
                info->second.molarMass > 0)
                newFluxMoles.emplace(oxide, percent / info->second.molarMass);
        }
        double total = 0;
        for (const auto& [oxide, moles] : newFluxMoles)
            total += moles;
        if (total > 0) {
            for (const auto& [oxide, moles] : newFluxMoles) {
                goal[oxide] += moles * missingFlux / total;
                standIn.push_back(oxide);
            }
        } else {
            unityRow = false;
        }
    }

    const Amounts amounts = solveAmounts(working, candidates, goal, library, table, &recipe, {}, unityRow);
    Recipe result = newRecipe(amounts, working, candidates);
    Chemistry after = baseChemistry(result, library, table);

    std::set<Oxide> keys = present;
    for (const auto& [oxide, value] : after.umf)
        keys.insert(oxide);
    std::map<Oxide, double> residual;
    for (const Oxide oxide : keys) {
        const double d = oxideValue(after.umf, oxide) - oxideValue(before.umf, oxide);
        if (std::abs(d) > tolerance) residual.emplace(oxide, d);
    }
    std::map<Oxide, double> target(before.umf.begin(), before.umf.end());
    return Adjustment{std::move(result),   std::move(before),     std::move(after),  std::move(target),
                      std::move(residual), std::move(unsupplied), std::move(standIn)};
}

} // namespace GlazeCore::Reformulate
