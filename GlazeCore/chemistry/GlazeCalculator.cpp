#include "GlazeCore/chemistry/GlazeCalculator.h"

#include "GlazeCore/book/GlazeError.h"
#include "GlazeCore/chemistry/Appen.h"
#include "GlazeCore/chemistry/CalculationError.h"
#include "GlazeCore/text/PlainNumberText.h"

#include <array>
#include <cmath>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace GlazeCore::GlazeCalculator {

namespace {

constexpr std::array<Oxide, 3> alkaliSet = {Oxide::Li2O, Oxide::Na2O, Oxide::K2O};

using PerOxide = std::array<double, oxideCount>;
using TableRows = std::array<const OxideInfo*, oxideCount>;

/// One material as the lines use it. Recipes repeat materials, and a library lookup folds the id to
/// its canonical form, so each distinct id is asked for once per calculation.
struct Source {
    const Material* material = nullptr;
    bool resolved = false;
    /// Moles per unit of amount: weight % / 100 / molar mass, for each oxide above 0.
    std::vector<std::pair<Oxide, double>> molesPerAmount;
};

void resolve(Source& source, const TableRows& rows) {
    for (const auto& [oxide, percent] : source.material->analysis) {
        if (!(percent > 0)) continue;
        const OxideInfo* info = rows[OxideNames::index(oxide)];
        if (info == nullptr || !(info->molarMass > 0)) throw GlazeError::missingOxideData(oxide);
        source.molesPerAmount.emplace_back(oxide, percent / 100 / info->molarMass);
    }
    source.resolved = true;
}

void requireFinite(double value) {
    if (!std::isfinite(value)) throw CalculationError::resultOutOfRange();
}

/// Values are added in oxide order so a result never depends on how a map was filled.
OxideValues positiveEntries(const PerOxide& values) {
    OxideValues out;
    for (const Oxide oxide : OxideNames::allCases()) {
        const double v = values[OxideNames::index(oxide)];
        if (v > 0) out.emplace_hint(out.end(), oxide, v);
    }
    return out;
}

} // namespace

Chemistry chemistry(const Recipe& recipe, const MaterialLibrary& library, bool includeAdditions) {
    return compute(recipe, library, includeAdditions);
}

std::string unknownMaterialWarning(std::string_view materialID) {
    return "Unknown material \"" + std::string(materialID) + "\" (not in the library or the book): line ignored.";
}

Chemistry compute(const Recipe& recipe, const MaterialLibrary& library, bool includeAdditions) {
    return compute(recipe, library, includeAdditions, OxideTable::shared());
}

Chemistry compute(const Recipe& recipe, const MaterialLibrary& library, bool includeAdditions,
                  const OxideTable::OnceLoad& oxides) {
    return compute(recipe, library, includeAdditions, oxides.table());
}

Chemistry compute(const Recipe& recipe, const MaterialLibrary& library, bool includeAdditions,
                  const OxideTable::Map& table) {
    TableRows rows{};
    for (const auto& [oxide, info] : table)
        rows[OxideNames::index(oxide)] = &info;

    Chemistry result;
    PerOxide moles{};
    std::unordered_map<std::string_view, Source> sources;
    const auto sourceFor = [&](const std::string& id) -> Source& {
        auto [it, inserted] = sources.try_emplace(id);
        if (inserted) it->second.material = library.material(id);
        return it->second;
    };

    for (const RecipeLine& line : recipe.lines) {
        if (line.isAddition && !includeAdditions) continue;
        if (!std::isfinite(line.amount)) throw GlazeError::nonFiniteAmount(line.materialID);
        if (line.amount == 0) continue;
        Source& source = sourceFor(line.materialID);
        if (line.amount < 0) {
            const std::string& shown = source.material ? source.material->name : line.materialID;
            result.warnings.push_back("Negative amount for " + shown + " (" + plainNumberText(line.amount) +
                                      "): line ignored.");
            continue;
        }
        if (source.material == nullptr) {
            result.warnings.push_back(unknownMaterialWarning(line.materialID));
            continue;
        }
        if (!source.resolved) resolve(source, rows);
        for (const auto& [oxide, perAmount] : source.molesPerAmount)
            moles[OxideNames::index(oxide)] += perAmount * line.amount;
    }

    const OxideValues present = positiveEntries(moles);
    double total = 0;
    for (const auto& [oxide, value] : present) {
        requireFinite(value);
        total += value;
    }
    requireFinite(total);

    if (total == 0) {
        result.warnings.push_back("The recipe has no materials to calculate.");
        return result;
    }

    double fluxSum = 0;
    for (const auto& [oxide, value] : present) {
        const OxideInfo* info = rows[OxideNames::index(oxide)];
        if (info != nullptr && info->role == OxideRole::flux) fluxSum += value;
    }

    if (fluxSum <= 0) {
        result.warnings.push_back("No flux oxides: the UMF cannot be normalized (flux sum is 0).");
    } else {
        PerOxide umf{};
        for (const auto& [oxide, value] : present) {
            umf[OxideNames::index(oxide)] = value / fluxSum;
            requireFinite(umf[OxideNames::index(oxide)]);
        }
        double r2o = 0;
        for (const Oxide alkali : alkaliSet)
            r2o += umf[OxideNames::index(alkali)];
        requireFinite(r2o);
        result.umf = positiveEntries(umf);
        result.r2oRatio = r2o;
    }

    PerOxide molePercent{};
    for (const auto& [oxide, value] : present)
        molePercent[OxideNames::index(oxide)] = value / total * 100;
    result.molePercent = positiveEntries(molePercent);

    // Every oxide present has a table row: a line could not have added it otherwise.
    PerOxide mass{};
    double totalMass = 0;
    for (const auto& [oxide, value] : present) {
        mass[OxideNames::index(oxide)] = value * rows[OxideNames::index(oxide)]->molarMass;
        totalMass += mass[OxideNames::index(oxide)];
    }
    requireFinite(totalMass);
    PerOxide weightPercent{};
    for (const auto& [oxide, value] : present) {
        weightPercent[OxideNames::index(oxide)] = mass[OxideNames::index(oxide)] / totalMass * 100;
        requireFinite(weightPercent[OxideNames::index(oxide)]);
    }
    result.weightPercent = positiveEntries(weightPercent);

    const double alumina = moles[OxideNames::index(Oxide::Al2O3)];
    if (alumina > 0) {
        result.siAlRatio = moles[OxideNames::index(Oxide::SiO2)] / alumina;
        requireFinite(result.siAlRatio);
    } else {
        result.warnings.push_back("No Al2O3: the SiO2:Al2O3 ratio is not defined (shown as 0).");
    }

    Appen::Estimate appen = Appen::estimate(result.molePercent, table);
    result.expansion = appen.expansion;
    result.expansionNotCounted = std::move(appen.notCounted);
    if (appen.warning) result.warnings.push_back(std::move(*appen.warning));
    return result;
}

} // namespace GlazeCore::GlazeCalculator
