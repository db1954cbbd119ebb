#pragma once

#include "GlazeCore/book/Oxide.h"
#include "GlazeCore/text/Uuid.h"

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The small values a book window passes between its sidebar, panes and sheets.
namespace Orza {

/// The sidebar selection: a recipe by id, the Tests page or the Materials page.
struct SidebarItem {
    enum class Kind { recipe, tests, materials };
    Kind kind = Kind::tests;
    GlazeCore::Uuid recipeID; // meaningful for Kind::recipe only

    static SidebarItem recipe(const GlazeCore::Uuid& id) { return {Kind::recipe, id}; }
    static SidebarItem tests() { return {Kind::tests, {}}; }
    static SidebarItem materials() { return {Kind::materials, {}}; }

    bool isRecipe() const { return kind == Kind::recipe; }

    // A recipe item carries its id into equality; the page items are equal by case alone.
    friend bool operator==(const SidebarItem& a, const SidebarItem& b) {
        return a.kind == b.kind && (a.kind != Kind::recipe || a.recipeID == b.recipeID);
    }
};

/// A glaze's place on Stull's chart, in UMF.
struct StullPoint {
    double siO2 = 0;
    double al2O3 = 0;

    friend bool operator==(const StullPoint&, const StullPoint&) = default;
};

/// Blend layouts, in menu order.
enum class BlendMode { line, triaxial, grid };
std::string_view rawValue(BlendMode mode);

/// Which tiles the label sheet prints.
enum class LabelScope { all, shown, selected };
std::string_view rawValue(LabelScope scope);

/// Opens the Oxide Nudge sheet; every request is new, so requests have no equality.
struct NudgeRequest {
    GlazeCore::Uuid id = GlazeCore::Uuid::random();
    GlazeCore::Oxide oxide = GlazeCore::Oxide::SiO2;
    int direction = 0; // 0 from the menu, +1 or -1 from the chemistry panel's arrows
};

/// Opens the Replace Material sheet, optionally with the material to replace chosen.
struct ReplaceRequest {
    GlazeCore::Uuid id = GlazeCore::Uuid::random();
    std::optional<std::string> materialID;
};

} // namespace Orza

template <> struct std::hash<Orza::SidebarItem> {
    std::size_t operator()(const Orza::SidebarItem& item) const noexcept;
};
template <> struct std::hash<Orza::StullPoint> {
    std::size_t operator()(const Orza::StullPoint& point) const noexcept;
};
