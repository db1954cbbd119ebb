#include "Orza/models/WindowTypes.h"

namespace Orza {

std::string_view rawValue(BlendMode mode) {
    switch (mode) {
    case BlendMode::line:
        return "Line";
    case BlendMode::triaxial:
        return "Triaxial";
    case BlendMode::grid:
        return "Four-corner grid";
    }
    return {};
}

std::string_view rawValue(LabelScope scope) {
    switch (scope) {
    case LabelScope::all:
        return "all";
    case LabelScope::shown:
        return "shown";
    case LabelScope::selected:
        return "selected";
    }
    return {};
}

} // namespace Orza

std::size_t std::hash<Orza::SidebarItem>::operator()(const Orza::SidebarItem& item) const noexcept {
    switch (item.kind) {
    case Orza::SidebarItem::Kind::recipe:
        return std::hash<GlazeCore::Uuid>{}(item.recipeID) * 3;
    case Orza::SidebarItem::Kind::tests:
        return 1;
    case Orza::SidebarItem::Kind::materials:
        return 2;
    }
    return 0;
}

std::size_t std::hash<Orza::StullPoint>::operator()(const Orza::StullPoint& point) const noexcept {
    // -0 and 0 are equal, so they must hash alike.
    const double x = point.siO2 == 0 ? 0.0 : point.siO2;
    const double y = point.al2O3 == 0 ? 0.0 : point.al2O3;
    return std::hash<double>{}(x) ^ (std::hash<double>{}(y)*0x9E3779B97F4A7C15ull);
}
