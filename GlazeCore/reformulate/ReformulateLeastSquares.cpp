#include "GlazeCore/reformulate/ReformulateLeastSquares.h"

#include "GlazeCore/book/GlazeError.h"
#include "GlazeCore/chemistry/CalculationError.h"
#include "GlazeCore/chemistry/GlazeCalculator.h"
#include "GlazeCore/reformulate/ReformulateError.h"
#include "GlazeCore/text/UnicodeText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace GlazeCore::Reformulate {

namespace {

constexpr double priorityWeight = 1000;
constexpr double unityWeight = 1000;
/// Pass 2 holds the rows of the fit this much harder than the pull toward the current amounts.
constexpr double reachedWeight = 10000;

bool isFlux(const OxideTable::Map& table, Oxide oxide) {
    const auto it = table.find(oxide);
    return it != table.end() && it->second.role == OxideRole::flux;
}

bool allFinite(const Solver::Vector& values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

bool allFinite(const Solver::Matrix& rows) {
    return std::all_of(rows.begin(), rows.end(), [](const Solver::Vector& row) { return allFinite(row); });
}

/// Flux moles of the base of the recipe that sets the scale, line by line in order.
double fluxMoles(const Recipe& scale, const MaterialLibrary& library, const OxideTable::Map& table) {
    std::unordered_map<std::string, std::map<Oxide, double>> cache;
    double total = 0;
    for (const RecipeLine& line : scale.lines) {
        if (line.isAddition || !std::isfinite(line.amount) || !(line.amount > 0)) continue;
        auto [it, inserted] = cache.try_emplace(UnicodeText::canonicalForm(line.materialID));
        if (inserted) it->second = materialMoles(line.materialID, library, table);
        for (const auto& [oxide, moles] : it->second)
            if (isFlux(table, oxide)) total += moles * line.amount;
    }
    return total;
}

Amounts solve(const Recipe& working, const std::vector<std::string>& candidates, const std::map<Oxide, double>& target,
              const MaterialLibrary& library, const OxideTable::Map& table, const Recipe* reference,
              const std::set<Oxide>& priority, bool unityRow, bool checkLimit) {
    const Recipe& scale = reference != nullptr ? *reference : working;
    const double base = scale.baseTotal();
    if (!std::isfinite(base) || !(base > 0) || candidates.empty()) throw ReformulateError::infeasible();
    if (candidates.size() > materialLimit)
        throw ReformulateError::tooManyMaterials(static_cast<std::int64_t>(candidates.size()),
                                                 static_cast<std::int64_t>(materialLimit));

    if (scale.lines.empty()) throw ReformulateError::noFlux();
    const double flux = fluxMoles(scale, library, table);
    if (!std::isfinite(flux) || !(flux > 0)) throw ReformulateError::noFlux();

    const std::size_t n = candidates.size();
    std::vector<std::map<Oxide, double>> moles;
    moles.reserve(n);
    for (const std::string& id : candidates)
        moles.push_back(materialMoles(id, library, table));

    std::array<bool, oxideCount> hasRow{};
    for (const auto& [oxide, value] : target)
        hasRow[OxideNames::index(oxide)] = true;
    for (const auto& m : moles)
        for (const auto& [oxide, value] : m)
            hasRow[OxideNames::index(oxide)] = true;
    std::vector<Oxide> rowOxides;
    for (const Oxide oxide : OxideNames::allCases())
        if (hasRow[OxideNames::index(oxide)]) rowOxides.push_back(oxide);

    Solver::Matrix a;
    Solver::Vector b, w;
    for (const Oxide oxide : rowOxides) {
        Solver::Vector row(n, 0.0);
        for (std::size_t j = 0; j < n; ++j) {
            const auto it = moles[j].find(oxide);
            if (it != moles[j].end()) row[j] = it->second * base / flux;
        }
        a.push_back(std::move(row));
        const auto goal = target.find(oxide);
        b.push_back(goal != target.end() ? goal->second : 0.0);
        w.push_back(priority.contains(oxide) ? priorityWeight : 1.0);
    }
    if (unityRow) {
        Solver::Vector unity(n, 0.0);
        for (std::size_t i = 0; i < rowOxides.size(); ++i) {
            if (!isFlux(table, rowOxides[i])) continue;
            for (std::size_t j = 0; j < n; ++j)
                unity[j] += a[i][j];
        }
        a.push_back(std::move(unity));
        b.push_back(1.0);
        w.push_back(unityWeight);
    }
    const std::size_t rows = a.size();

    // The solver answers non-finite input with zeros; that must not come back as a recipe of zeros.
    if (!allFinite(a) || !allFinite(b)) throw ReformulateError::infeasible();
    const Solver::Vector x1 = Solver::nonNegativeLeastSquares(a, b, w);
    Solver::Vector y(rows, 0.0);
    for (std::size_t i = 0; i < rows; ++i)
        for (std::size_t j = 0; j < n && j < x1.size(); ++j)
            y[i] += a[i][j] * x1[j];

    Solver::Vector x0(n, 0.0);
    std::unordered_map<std::string, std::size_t> firstCandidate;
    for (std::size_t j = 0; j < n; ++j)
        firstCandidate.try_emplace(UnicodeText::canonicalForm(candidates[j]), j);
    for (const RecipeLine& line : working.lines) {
        if (line.isAddition || !std::isfinite(line.amount) || !(line.amount > 0)) continue;
        const auto it = firstCandidate.find(UnicodeText::canonicalForm(line.materialID));
        if (it != firstCandidate.end()) x0[it->second] += line.amount / base;
    }

    Solver::Matrix stacked = a;
    Solver::Vector rhs = y, weights(rows, reachedWeight);
    for (std::size_t j = 0; j < n; ++j) {
        Solver::Vector identity(n, 0.0);
        identity[j] = 1;
        stacked.push_back(std::move(identity));
        rhs.push_back(x0[j]);
        weights.push_back(1.0);
    }
    if (!allFinite(rhs)) throw ReformulateError::infeasible();
    Solver::Vector x2 = Solver::nonNegativeLeastSquares(stacked, rhs, weights);
    // An answer of the wrong length is the solver refusing its input, not a fit.
    if (x2.size() != n) throw ReformulateError::infeasible();

    std::vector<std::size_t> active;
    for (std::size_t j = 0; j < n; ++j)
        if (x2[j] > 0) active.push_back(j);
    if (!active.empty()) {
        const Solver::Vector e = residuals(0, rows, y, n, a, x2);
        const Solver::Vector d = Solver::leastSquares(columns(active, a), e);
        for (std::size_t k = 0; k < active.size() && k < d.size(); ++k)
            if (std::isfinite(d[k])) x2[active[k]] = std::max(0.0, x2[active[k]] + d[k]);
    }

    // Every candidate at 0 is an honest answer of a finite system (nothing left supplies the goal's
    // oxides); the caller reports the misses rather than a target that cannot be reached.
    Amounts amounts;
    for (std::size_t j = 0; j < n; ++j) {
        double amount = x2[j] * base;
        if (!std::isfinite(amount) || (checkLimit && amount > amountLimit)) throw CalculationError::resultOutOfRange();
        if (amount < base * 1e-9) amount = 0;
        amounts[UnicodeText::canonicalForm(candidates[j])] = amount;
    }
    return amounts;
}

} // namespace

std::map<Oxide, double> materialMoles(std::string_view materialID, const MaterialLibrary& library,
                                      const OxideTable::Map& table) {
    std::map<Oxide, double> moles;
    const Material* material = library.material(materialID);
    if (material == nullptr) return moles;
    for (const auto& [oxide, percent] : material->analysis) {
        if (!(percent > 0)) continue;
        const auto info = table.find(oxide);
        if (info == table.end() || !(info->second.molarMass > 0)) throw GlazeError::missingOxideData(oxide);
        moles.emplace(oxide, percent / 100 / info->second.molarMass);
    }
    return moles;
}

std::vector<std::string> baseMaterialIDs(const Recipe& recipe, const MaterialLibrary& library,
                                         const std::vector<std::string>& extraIDs) {
    std::vector<std::string> ids;
    const auto append = [&](const std::string& id) {
        if (library.material(id) == nullptr) return;
        const bool held = std::any_of(
            ids.begin(), ids.end(), [&](const std::string& other) { return UnicodeText::canonicallyEqual(other, id); });
        if (!held) ids.push_back(id);
    };
    for (const RecipeLine& line : recipe.lines) {
        if (line.isAddition || !std::isfinite(line.amount) || line.amount < 0) continue;
        append(line.materialID);
    }
    for (const std::string& id : extraIDs)
        append(id);
    return ids;
}

Chemistry baseChemistry(const Recipe& recipe, const MaterialLibrary& library) {
    return baseChemistry(recipe, library, OxideTable::table());
}

Chemistry baseChemistry(const Recipe& recipe, const MaterialLibrary& library, const OxideTable::Map& table) {
    Recipe copy = recipe;
    std::erase_if(copy.lines, [](const RecipeLine& line) { return line.materialID.empty(); });
    return GlazeCalculator::compute(copy, library, false, table);
}

Amounts solveAmounts(const Recipe& working, const std::vector<std::string>& candidates,
                     const std::map<Oxide, double>& target, const MaterialLibrary& library,
                     const OxideTable::Map& table, const Recipe* reference, const std::set<Oxide>& priority,
                     bool unityRow) {
    return solve(working, candidates, target, library, table, reference, priority, unityRow, true);
}

Amounts solveAmountsToRescale(const Recipe& working, const std::vector<std::string>& candidates,
                              const std::map<Oxide, double>& target, const MaterialLibrary& library,
                              const OxideTable::Map& table, const Recipe* reference, const std::set<Oxide>& priority,
                              bool unityRow) {
    return solve(working, candidates, target, library, table, reference, priority, unityRow, false);
}

Solver::Vector residuals(std::size_t first, std::size_t end, const Solver::Vector& y, std::size_t n,
                         const Solver::Matrix& a, const Solver::Vector& x) {
    Solver::Vector out;
    for (std::size_t i = first; i < end; ++i) {
        double sum = 0;
        for (std::size_t j = 0; j < n; ++j)
            sum += a[i][j] * x[j];
        out.push_back(y[i] - sum);
    }
    return out;
}

Solver::Matrix columns(const std::vector<std::size_t>& indices, const Solver::Matrix& a) {
    Solver::Matrix out;
    out.reserve(indices.size());
    for (const std::size_t j : indices) {
        Solver::Vector column;
        column.reserve(a.size());
        for (const Solver::Vector& row : a)
            column.push_back(row[j]);
        out.push_back(std::move(column));
    }
    return out;
}

std::vector<Oxide> presentOxidesNotIn(const std::set<Oxide>& s, const std::set<Oxide>& t,
                                      const std::map<Oxide, double>& values) {
    std::vector<Oxide> out;
    for (const Oxide oxide : s) {
        if (t.contains(oxide)) continue;
        const auto it = values.find(oxide);
        if (it != values.end() && it->second > 0) out.push_back(oxide);
    }
    return out;
}

bool oxideOrder(Oxide a, Oxide b) {
    return OxideNames::index(a) < OxideNames::index(b);
}

bool sourceMaterialOrder(const Material& a, const Material& b, Oxide wanted) {
    const auto oxidesAbove0 = [](const Material& m) {
        return std::count_if(m.analysis.begin(), m.analysis.end(), [](const auto& entry) { return entry.second > 0; });
    };
    const auto countA = oxidesAbove0(a), countB = oxidesAbove0(b);
    if (countA != countB) return countA < countB;
    const double shareA = oxideValue(a.analysis, wanted), shareB = oxideValue(b.analysis, wanted);
    if (shareA != shareB) return shareA > shareB;
    return UnicodeText::scalars(UnicodeText::canonicalForm(a.name)) <
           UnicodeText::scalars(UnicodeText::canonicalForm(b.name));
}

} // namespace GlazeCore::Reformulate
