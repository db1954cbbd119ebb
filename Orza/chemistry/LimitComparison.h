#pragma once

#include "GlazeCore/chemistry/Chemistry.h"
#include "GlazeCore/chemistry/LimitSet.h"
#include "Orza/chemistry/OxideGroup.h"

#include <array>
#include <functional>
#include <string_view>
#include <vector>

namespace Orza {

/// How an oxide compares with the chosen reference set; the codes 0 to 3 are the grid's.
enum class RangeStatus { none = 0, inRange = 1, below = 2, above = 3 };

/// The set whose id is `storedID`; the first set when none matches (an empty or unknown id); null only
/// when there are no sets.
const GlazeCore::LimitSet* chosenLimitSet(const std::vector<GlazeCore::LimitSet>& sets, std::string_view storedID);

/**
 * One recipe's chemistry held against one reference set: the range and status of every oxide, which
 * oxides get a row in the UMF grid, which are left out as "about 0 and in range", and how many lie outside.
 * The set is evaluated once when the comparison is made; the chemistry and the set must outlive it.
 */
class LimitComparison {
public:
    /// Below this a UMF value counts as about 0.
    static constexpr double aboutZeroUmf = 0.00005;
    /// Without a UMF, an oxide gets a row above this mole %.
    static constexpr double listedMolePercent = 0.005;

    using GroupOf = std::function<OxideGroup(GlazeCore::Oxide)>;

    /// `set` may be null: no comparison. `groupOf` puts each oxide under its heading (the oxide table's
    /// roles by default).
    LimitComparison(
        const GlazeCore::Chemistry& chemistry, const GlazeCore::LimitSet* set,
        const GroupOf& groupOf = [](GlazeCore::Oxide oxide) { return OxideGroups::of(oxide); });

    /// The first range of the set that covers the oxide; null when there is none or no set.
    const GlazeCore::LimitRange* rangeForOxide(GlazeCore::Oxide oxide) const { return m_ranges[index(oxide)]; }
    RangeStatus rangeStatus(GlazeCore::Oxide oxide) const { return m_statuses[index(oxide)]; }
    OxideGroup groupOf(GlazeCore::Oxide oxide) const { return m_groups[index(oxide)]; }
    /// The oxides of the group that get a row, in oxide order.
    const std::vector<GlazeCore::Oxide>& groupRows(OxideGroup group) const { return m_rows[std::size_t(group)]; }
    /// Whether the oxide has a row in any group.
    bool isListed(GlazeCore::Oxide oxide) const;
    /// Oxides the set compares that have no row because they are about 0 and in range, in oxide order.
    std::vector<GlazeCore::Oxide> notListedOxides() const;
    /// Oxides the set covers that are not within their ranges; a missed combined range counts each oxide.
    int outsideRangeCount() const;
    /// Whether the oxide's range is shown on a row above it: a combined range shows its numbers on the
    /// first listed oxide it covers in the oxide's group, and "shared" on the others.
    bool isSharedRangeRow(GlazeCore::Oxide oxide, const GlazeCore::LimitRange* range) const;

private:
    static std::size_t index(GlazeCore::Oxide oxide) { return GlazeCore::OxideNames::index(oxide); }
    RangeStatus statusOf(GlazeCore::Oxide oxide, const std::map<GlazeCore::Oxide, bool>& within) const;
    bool isRowListed(GlazeCore::Oxide oxide) const;

    const GlazeCore::Chemistry& m_chemistry;
    const GlazeCore::LimitSet* m_set;
    std::array<const GlazeCore::LimitRange*, GlazeCore::oxideCount> m_ranges{};
    std::array<RangeStatus, GlazeCore::oxideCount> m_statuses{};
    std::array<OxideGroup, GlazeCore::oxideCount> m_groups{};
    std::array<std::vector<GlazeCore::Oxide>, 4> m_rows;
};

} // namespace Orza
