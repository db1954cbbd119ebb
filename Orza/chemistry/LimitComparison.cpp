#include "Orza/chemistry/LimitComparison.h"

#include <algorithm>

namespace Orza {

using GlazeCore::Oxide;

const GlazeCore::LimitSet* chosenLimitSet(const std::vector<GlazeCore::LimitSet>& sets, std::string_view storedID) {
    for (const GlazeCore::LimitSet& set : sets)
        if (set.id == storedID) return &set;
    return sets.empty() ? nullptr : &sets.front();
}

LimitComparison::LimitComparison(const GlazeCore::Chemistry& chemistry, const GlazeCore::LimitSet* set,
                                 const GroupOf& groupOf)
    : m_chemistry(chemistry), m_set(set) {
    std::map<Oxide, bool> within;
    if (m_set) {
        within = m_set->evaluate(chemistry);
        for (const Oxide oxide : GlazeCore::OxideNames::allCases()) {
            const auto& ranges = m_set->ranges;
            const auto covering = std::find_if(ranges.begin(), ranges.end(),
                                               [oxide](const GlazeCore::LimitRange& r) { return r.covers(oxide); });
            m_ranges[index(oxide)] = covering == ranges.end() ? nullptr : &*covering;
        }
    }
    for (const Oxide oxide : GlazeCore::OxideNames::allCases()) {
        m_statuses[index(oxide)] = statusOf(oxide, within);
        m_groups[index(oxide)] = groupOf(oxide);
    }
    for (const Oxide oxide : GlazeCore::OxideNames::allCases())
        if (isRowListed(oxide)) m_rows[std::size_t(m_groups[index(oxide)])].push_back(oxide);
}

RangeStatus LimitComparison::statusOf(Oxide oxide, const std::map<Oxide, bool>& within) const {
    const GlazeCore::LimitRange* range = rangeForOxide(oxide);
    if (m_chemistry.umf.empty() || !range) return RangeStatus::none;
    const auto verdict = within.find(oxide);
    if (verdict != within.end() && verdict->second) return RangeStatus::inRange;
    // The tolerance belongs to the within test only; below or above compares with the minimum itself.
    return range->value(m_chemistry.umf) < range->min ? RangeStatus::below : RangeStatus::above;
}

bool LimitComparison::isRowListed(Oxide oxide) const {
    if (m_chemistry.umf.empty()) return GlazeCore::oxideValue(m_chemistry.molePercent, oxide) > listedMolePercent;
    if (GlazeCore::oxideValue(m_chemistry.umf, oxide) > aboutZeroUmf) return true;
    const RangeStatus status = rangeStatus(oxide);
    return status == RangeStatus::below || status == RangeStatus::above;
}

bool LimitComparison::isListed(Oxide oxide) const {
    const auto& rows = groupRows(groupOf(oxide));
    return std::find(rows.begin(), rows.end(), oxide) != rows.end();
}

std::vector<Oxide> LimitComparison::notListedOxides() const {
    std::vector<Oxide> oxides;
    if (m_chemistry.umf.empty() || !m_set) return oxides;
    for (const Oxide oxide : GlazeCore::OxideNames::allCases()) {
        if (rangeForOxide(oxide) && GlazeCore::oxideValue(m_chemistry.umf, oxide) <= aboutZeroUmf &&
            rangeStatus(oxide) == RangeStatus::inRange)
            oxides.push_back(oxide);
    }
    return oxides;
}

int LimitComparison::outsideRangeCount() const {
    if (m_chemistry.umf.empty() || !m_set) return 0;
    return int(std::count_if(m_statuses.begin(), m_statuses.end(), [](RangeStatus status) {
        return status == RangeStatus::below || status == RangeStatus::above;
    }));
}

bool LimitComparison::isSharedRangeRow(Oxide oxide, const GlazeCore::LimitRange* range) const {
    if (!range || !range->combinedWith) return false;
    for (const Oxide listed : groupRows(groupOf(oxide)))
        if (range->covers(listed)) return listed != oxide;
    return false;
}

} // namespace Orza
