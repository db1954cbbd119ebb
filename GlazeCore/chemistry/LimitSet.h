#pragma once

#include "GlazeCore/book/Oxide.h"
#include "GlazeCore/chemistry/Chemistry.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace GlazeCore {

/// A UMF range for one oxide, or for the sum of several.
struct LimitRange {
    Oxide oxide{};
    double min = 0;
    double max = 0;
    /// Further oxides summed with `oxide`; absent for a single-oxide range.
    std::optional<std::vector<Oxide>> combinedWith;

    /// `oxide`, then the combined oxides in their order.
    std::vector<Oxide> oxides() const;
    bool covers(Oxide candidate) const;
    /// Sum of the UMF values of the covered oxides; an absent oxide counts 0.
    double value(const OxideValues& umf) const;
    /// "KNaO" for exactly {K2O, Na2O}; otherwise the formulas joined by "+".
    std::string label() const;

    friend bool operator==(const LimitRange&, const LimitRange&) = default;
};

/// A published table of UMF ranges for a cone and surface.
struct LimitSet {
    std::string id;
    std::string name;
    std::string cone;
    std::vector<LimitRange> ranges;
    /// Where the ranges come from, shown to the user.
    std::string source;

    /// In range or not, for every oxide some range covers. An oxide covered twice must meet both.
    std::map<Oxide, bool> evaluate(const Chemistry& chemistry) const;
};

bool operator==(const LimitSet& a, const LimitSet& b);

} // namespace GlazeCore
