#include "GlazeCore/chemistry/Appen.h"

#include "GlazeCore/core/Overloaded.h"
#include "GlazeCore/text/UnicodeText.h"

namespace GlazeCore::Appen {

std::string NotCounted::message() const {
    return std::visit(Overloaded{
                          [](const OutsideRange& c) { return c.reason; },
                          [](const NoCoefficient&) { return std::string("no Appen coefficient"); },
                      },
                      m_value);
}

bool operator==(const NotCounted& a, const NotCounted& b) {
    if (a.m_value.index() != b.m_value.index()) return false;
    if (const auto* x = std::get_if<NotCounted::OutsideRange>(&a.m_value))
        return UnicodeText::canonicallyEqual(x->reason, std::get<NotCounted::OutsideRange>(b.m_value).reason);
    return true;
}

Coefficient coefficient(Oxide oxide, const OxideValues& molePercent, const OxideTable::Map& table) {
    const auto mol = [&](Oxide o) { return oxideValue(molePercent, o); };
    switch (oxide) {
    case Oxide::K2O:
        return mol(Oxide::Na2O) > 1.0 ? 465.0 : 420.0;
    case Oxide::PbO: {
        const double r2o = mol(Oxide::Li2O) + mol(Oxide::Na2O) + mol(Oxide::K2O);
        if (r2o < 3.0) return 130.0;
        if (3.0 <= r2o && r2o <= 15.0) return 5 * r2o + 115;
        return NotCounted::outsideRange("Li2O + Na2O + K2O is above 15 mol %");
    }
    case Oxide::B2O3: {
        const double boron = mol(Oxide::B2O3);
        if (!(boron > 0)) return 0.0;
        const double psi = (mol(Oxide::Na2O) + mol(Oxide::K2O) + mol(Oxide::BaO) +
                            0.7 * (mol(Oxide::PbO) + mol(Oxide::CaO) + mol(Oxide::SrO)) +
                            0.3 * (mol(Oxide::Li2O) + mol(Oxide::MgO) + mol(Oxide::ZnO)) - mol(Oxide::Al2O3)) /
                           boron;
        if (psi < 0) return NotCounted::outsideRange("Al2O3 is higher than the fluxes that Appen's B2O3 term uses");
        if (psi <= 4.0) return -12.5 * psi;
        return -50.0;
    }
    case Oxide::SiO2: {
        const double silica = mol(Oxide::SiO2);
        return silica < 67 ? 38.0 : 105 - silica;
    }
    case Oxide::TiO2: {
        const double silica = mol(Oxide::SiO2);
        if (50 <= silica && silica <= 80) return 105 - 1.5 * silica;
        return NotCounted::outsideRange("SiO2 is outside 50 to 80 mol %");
    }
    default:
        break;
    }
    const auto it = table.find(oxide);
    if (it == table.end() || !it->second.expansionCoefficient) return NotCounted::noCoefficient();
    return *it->second.expansionCoefficient;
}

Estimate estimate(const OxideValues& molePercent, const OxideTable::Map& table) {
    Estimate result;
    std::string pieces;
    for (const Oxide oxide : OxideNames::allCases()) {
        const double percent = oxideValue(molePercent, oxide);
        if (!(percent > 0)) continue;
        const Coefficient c = coefficient(oxide, molePercent, table);
        if (const auto* reason = std::get_if<NotCounted>(&c)) {
            if (!pieces.empty()) pieces += "; ";
            pieces += std::string(OxideNames::rawValue(oxide)) + " (" + reason->message() + ")";
            result.notCounted.push_back(oxide);
        } else {
            result.expansion += std::get<double>(c) * percent / 100;
        }
    }
    if (!result.notCounted.empty()) result.warning = "Expansion estimate is partial: it does not count " + pieces + ".";
    return result;
}

} // namespace GlazeCore::Appen
