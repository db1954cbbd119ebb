#include "GlazeCore/chemistry/LimitSet.h"

#include "GlazeCore/text/UnicodeText.h"

#include <algorithm>

namespace GlazeCore {

namespace {
// Absorbs the rounding of UMF sums that land on a published bound.
constexpr double tolerance = 1e-9;
} // namespace

std::vector<Oxide> LimitRange::oxides() const {
    std::vector<Oxide> all{oxide};
    if (combinedWith) all.insert(all.end(), combinedWith->begin(), combinedWith->end());
    return all;
}

bool LimitRange::covers(Oxide candidate) const {
    if (candidate == oxide) return true;
    return combinedWith && std::find(combinedWith->begin(), combinedWith->end(), candidate) != combinedWith->end();
}

double LimitRange::value(const OxideValues& umf) const {
    double sum = oxideValue(umf, oxide);
    if (combinedWith)
        for (const Oxide other : *combinedWith)
            sum += oxideValue(umf, other);
    return sum;
}

std::string LimitRange::label() const {
    const std::vector<Oxide> covered = oxides();
    const auto has = [&](Oxide o) { return std::find(covered.begin(), covered.end(), o) != covered.end(); };
    const bool onlyAlkaliPair =
        std::all_of(covered.begin(), covered.end(), [](Oxide o) { return o == Oxide::K2O || o == Oxide::Na2O; });
    if (onlyAlkaliPair && has(Oxide::K2O) && has(Oxide::Na2O)) return "KNaO";
    std::string text;
    for (const Oxide o : covered) {
        if (!text.empty()) text += "+";
        text += OxideNames::rawValue(o);
    }
    return text;
}

std::map<Oxide, bool> LimitSet::evaluate(const Chemistry& chemistry) const {
    std::map<Oxide, bool> result;
    for (const LimitRange& range : ranges) {
        const double v = range.value(chemistry.umf);
        // NaN fails both comparisons, so it is out of range.
        const bool ok = range.min - tolerance <= v && v <= range.max + tolerance;
        for (const Oxide o : range.oxides()) {
            const auto [it, inserted] = result.try_emplace(o, ok);
            if (!inserted) it->second = it->second && ok;
        }
    }
    return result;
}

bool operator==(const LimitSet& a, const LimitSet& b) {
    return UnicodeText::canonicallyEqual(a.id, b.id) && UnicodeText::canonicallyEqual(a.name, b.name) &&
           UnicodeText::canonicallyEqual(a.cone, b.cone) && a.ranges == b.ranges &&
           UnicodeText::canonicallyEqual(a.source, b.source);
}

} // namespace GlazeCore
