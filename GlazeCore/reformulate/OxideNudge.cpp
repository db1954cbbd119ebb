#include "GlazeCore/reformulate/OxideNudge.h"

#include "GlazeCore/chemistry/CalculationError.h"
#include "GlazeCore/reformulate/ReformulateError.h"
#include "GlazeCore/text/UnicodeText.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace GlazeCore::Reformulate {

namespace {

bool isFlux(const OxideTable::Map& table, Oxide oxide) {
    const auto it = table.find(oxide);
    return it != table.end() && it->second.role == OxideRole::flux;
}

bool isFluxRow(const OxideInfo* info) {
    return info != nullptr && info->role == OxideRole::flux;
}

/// The goal of the solve: the nudged oxide at t, the other fluxes scaled so the fluxes still sum to 1.
std::map<Oxide, double> nudgeGoal(const OxideValues& umf, Oxide oxide, double t, const OxideTable::Map& table) {
    std::map<Oxide, double> goal(umf.begin(), umf.end());
    if (isFlux(table, oxide)) {
        if (t > 1.000000000001) throw ReformulateError::infeasible();
        const double u = oxideValue(umf, oxide);
        if (1 - u <= 1e-12) {
            if (std::abs(t - 1) > 1e-9) throw ReformulateError::onlyFlux(oxide);
        } else {
            const double s = (1 - t) / (1 - u);
            for (auto& [other, value] : goal)
                if (other != oxide && isFlux(table, other)) value = umf.at(other) * s;
        }
    }
    goal[oxide] = t;
    std::erase_if(goal, [&](const auto& entry) { return entry.first != oxide && !(entry.second > 0); });
    return goal;
}

bool supplies(const MaterialLibrary& library, const std::string& id, Oxide oxide) {
    const Material* material = library.material(id);
    return material != nullptr && oxideValue(material->analysis, oxide) > 0;
}

/// Base total 100, additions keeping their ratio to the input's base. Every amount the user gets is held
/// to the line limit here, after scaling: the solve's own amounts may be far larger for a big base.
void normalize(Recipe& result, const Recipe& input, const Amounts& solved) {
    const double b0 = input.baseTotal();
    const double b1 = result.baseTotal();
    if (b1 > 0 && std::isfinite(b1) && b0 > 0) {
        for (RecipeLine& line : result.lines) {
            if (!std::isfinite(line.amount) || !(line.amount > 0)) continue;
            line.amount = line.amount * (line.isAddition ? 100 / b0 : 100 / b1);
            if (!std::isfinite(line.amount) || line.amount > amountLimit) throw CalculationError::resultOutOfRange();
        }
        return;
    }
    for (const auto& [id, amount] : solved)
        if (amount > amountLimit) throw CalculationError::resultOutOfRange();
}

std::map<Oxide, double> residualAgainst(const std::map<Oxide, double>& goal, const OxideValues& reached) {
    std::set<Oxide> keys;
    for (const auto& [oxide, value] : goal)
        keys.insert(oxide);
    for (const auto& [oxide, value] : reached)
        keys.insert(oxide);
    std::map<Oxide, double> residual;
    for (const Oxide oxide : keys) {
        const auto g = goal.find(oxide);
        const double d = oxideValue(reached, oxide) - (g != goal.end() ? g->second : 0.0);
        if (std::abs(d) > tolerance) residual.emplace(oxide, d);
    }
    return residual;
}

} // namespace

Adjustment oxideNudge(const Recipe& recipe, Oxide oxide, double target, const MaterialLibrary& library,
                      const std::vector<std::string>& extraIDs) {
    return oxideNudge(recipe, oxide, target, library, extraIDs, OxideTable::shared());
}

Adjustment oxideNudge(const Recipe& recipe, Oxide oxide, double target, const MaterialLibrary& library,
                      const std::vector<std::string>& extraIDs, const OxideTable::OnceLoad& oxides) {
    const OxideTable::Map& table = oxides.table();
    Chemistry before = baseChemistry(recipe, library, table);
    if (before.umf.empty()) throw ReformulateError::noFlux();
    if (!std::isfinite(target) || target < 0) throw ReformulateError::infeasible();

    std::map<Oxide, double> goal = nudgeGoal(before.umf, oxide, target, table);

    const std::vector<std::string> candidates = baseMaterialIDs(recipe, library, extraIDs);
    const bool supplied = std::any_of(candidates.begin(), candidates.end(),
                                      [&](const std::string& id) { return supplies(library, id, oxide); });
    if (!supplied && target > 1e-6) throw ReformulateError::noSource(oxide);

    const Amounts amounts = solveAmountsToRescale(recipe, candidates, goal, library, table, nullptr, {oxide}, true);
    Recipe result = newRecipe(amounts, recipe, candidates);
    normalize(result, recipe, amounts);

    Chemistry after = baseChemistry(result, library, table);
    std::map<Oxide, double> residual = residualAgainst(goal, after.umf);
    return Adjustment{
        std::move(result), std::move(before), std::move(after), std::move(goal), std::move(residual), {}, {}};
}

Recipe newRecipe(const Amounts& amounts, const Recipe& working, const std::vector<std::string>& candidates) {
    const auto solvedFor = [&](const std::string& key) {
        const auto it = amounts.find(key);
        return it != amounts.end() ? &it->second : nullptr;
    };

    std::vector<std::string> keys;
    keys.reserve(working.lines.size());
    for (const RecipeLine& line : working.lines)
        keys.push_back(UnicodeText::canonicalForm(line.materialID));

    std::map<std::string, double> oldTotal;
    for (std::size_t i = 0; i < working.lines.size(); ++i) {
        const RecipeLine& line = working.lines[i];
        if (line.isAddition || solvedFor(keys[i]) == nullptr) continue;
        oldTotal[keys[i]] += (line.amount < 0 || std::isnan(line.amount)) ? 0.0 : line.amount;
    }

    Recipe result = working;
    std::set<std::string> placed;
    for (std::size_t i = 0; i < result.lines.size(); ++i) {
        RecipeLine& line = result.lines[i];
        if (line.isAddition || !std::isfinite(line.amount) || line.amount < 0) continue;
        const double* solved = solvedFor(keys[i]);
        if (solved == nullptr) continue;
        const double total = oldTotal.at(keys[i]);
        if (total > 0)
            line.amount = *solved * (line.amount / total);
        else
            line.amount = placed.contains(keys[i]) ? 0.0 : *solved;
        placed.insert(keys[i]);
    }

    auto insertAt = result.lines.end();
    while (insertAt != result.lines.begin() && std::prev(insertAt)->isAddition)
        --insertAt;
    std::vector<RecipeLine> added;
    for (const std::string& id : candidates) {
        const std::string key = UnicodeText::canonicalForm(id);
        const double* solved = solvedFor(key);
        if (placed.contains(key) || solved == nullptr || !(*solved > 0)) continue;
        added.push_back({Uuid::random(), id, *solved, false});
        placed.insert(key);
    }
    result.lines.insert(insertAt, added.begin(), added.end());
    return result;
}

bool canNudge(Oxide oxide, const Chemistry& chemistry, bool includeAdditions) {
    return canNudge(oxide, chemistry, includeAdditions, OxideTable::shared());
}

bool canNudge(Oxide oxide, const Chemistry& chemistry, bool includeAdditions, const OxideTable::OnceLoad& oxides) {
    if (includeAdditions || chemistry.umf.empty()) return false;
    if (!isFluxRow(oxides.find(oxide))) return true;
    return std::any_of(chemistry.umf.begin(), chemistry.umf.end(), [&](const auto& entry) {
        return entry.first != oxide && isFluxRow(oxides.find(entry.first)) && entry.second > 1e-12;
    });
}

std::vector<Material> sourceMaterials(Oxide oxide, const MaterialLibrary& library, int limit) {
    if (limit < 1) return {};
    std::vector<Material> found;
    for (const Material& material : library.all())
        if (oxideValue(material.analysis, oxide) > 0 && library.material(material.id) != nullptr)
            found.push_back(material);
    std::stable_sort(found.begin(), found.end(),
                     [&](const Material& a, const Material& b) { return sourceMaterialOrder(a, b, oxide); });
    if (found.size() > static_cast<std::size_t>(limit)) found.resize(static_cast<std::size_t>(limit));
    return found;
}

} // namespace GlazeCore::Reformulate
