#include "Orza/chemistry/OxideGroup.h"

#include <QCoreApplication>

namespace Orza::OxideGroups {

namespace {

using GlazeCore::Oxide;

constexpr std::array<const char*, 4> rawValues{
    QT_TRANSLATE_NOOP("OxideGroup", "Fluxes (RO / R₂O)"),
    QT_TRANSLATE_NOOP("OxideGroup", "Stabilizers (R₂O₃)"),
    QT_TRANSLATE_NOOP("OxideGroup", "Glass formers (RO₂)"),
    QT_TRANSLATE_NOOP("OxideGroup", "Colorants"),
};

OxideGroup fromRole(GlazeCore::OxideRole role) {
    switch (role) {
    case GlazeCore::OxideRole::flux:
        return OxideGroup::flux;
    case GlazeCore::OxideRole::stabilizer:
        return OxideGroup::stabilizer;
    case GlazeCore::OxideRole::glassFormer:
        return OxideGroup::glassFormer;
    case GlazeCore::OxideRole::colorant:
        break;
    }
    return OxideGroup::colorant;
}

} // namespace

const std::array<OxideGroup, 4>& allCases() {
    static constexpr std::array<OxideGroup, 4> groups{OxideGroup::flux, OxideGroup::stabilizer, OxideGroup::glassFormer,
                                                      OxideGroup::colorant};
    return groups;
}

std::string_view rawValue(OxideGroup group) {
    return rawValues[std::size_t(group)];
}

std::optional<OxideGroup> fromRaw(std::string_view text) {
    for (const OxideGroup group : allCases())
        if (rawValue(group) == text) return group;
    return std::nullopt;
}

QString heading(OxideGroup group) {
    return QCoreApplication::translate("OxideGroup", rawValues[std::size_t(group)]);
}

OxideGroup defaultOf(Oxide oxide) {
    switch (oxide) {
    case Oxide::Li2O:
    case Oxide::Na2O:
    case Oxide::K2O:
    case Oxide::MgO:
    case Oxide::CaO:
    case Oxide::SrO:
    case Oxide::BaO:
    case Oxide::ZnO:
    case Oxide::PbO:
        return OxideGroup::flux;
    case Oxide::B2O3:
    case Oxide::Al2O3:
        return OxideGroup::stabilizer;
    case Oxide::SiO2:
    case Oxide::TiO2:
    case Oxide::ZrO2:
    case Oxide::SnO2:
    case Oxide::P2O5:
        return OxideGroup::glassFormer;
    case Oxide::Fe2O3:
    case Oxide::MnO:
    case Oxide::CoO:
    case Oxide::CuO:
    case Oxide::Cr2O3:
    case Oxide::NiO:
        break;
    }
    return OxideGroup::colorant;
}

OxideGroup of(Oxide oxide, const GlazeCore::OxideTable::OnceLoad& oxides) {
    const GlazeCore::OxideInfo* info = oxides.find(oxide);
    return info ? fromRole(info->role) : defaultOf(oxide);
}

OxideGroup of(Oxide oxide) {
    return of(oxide, GlazeCore::OxideTable::shared());
}

} // namespace Orza::OxideGroups
