#pragma once

#include "GlazeCore/layout/Geometry.h"

#include <optional>
#include <string_view>

namespace GlazeCore {

using LayoutSize = Size;

/// Sizes of book windows, reformulation sheets, the chemistry pane and the lines table, in points,
/// kept as plain numbers so that every view applies the same rules.
namespace WindowLayout {

inline constexpr LayoutSize largestDefaultWindowSize{1320, 780};
inline constexpr double windowHeightMargin = 8;
inline constexpr double sidebarMinimumWidth = 200;
inline constexpr double recipeMainMinimumWidth = 400;
inline constexpr double chemistryPaneMinimumWidth = 340;
inline constexpr double recipePaneMinimumHeight = 548;
inline constexpr double chemistryPaneMaximumWidth = 480;
inline constexpr double recipePaneSpacing = 4;
inline constexpr double windowWidthMargin = 16;
inline constexpr double summaryListMinimumWidth = 400;
inline constexpr double summaryChartMinimumWidth = 300;
inline constexpr double summaryChartMaximumWidth = 360;
inline constexpr double summarySpacing = 20;
inline constexpr LayoutSize largestSheetSize{900, 740};
inline constexpr LayoutSize smallestSheetSize{812, 560};
inline constexpr double sheetHeightMargin = 52;
inline constexpr double tableBaseHeight = 42;
inline constexpr double tableRowHeight = 24.5;
inline constexpr LayoutSize smallestDefaultWindowSize{944, 652};

/// A book window's default size on a screen whose visible frame has this size; the largest default
/// without a screen or with a size that is not above 0.
LayoutSize defaultWindowSize(std::optional<LayoutSize> visibleFrame);
/// A reformulation sheet's size on such a screen.
LayoutSize sheetSize(std::optional<LayoutSize> visibleFrame);
/// Width of the chemistry pane inside a recipe pane `width` wide: 40 % within 340 … 480, leaving the
/// lines at least 400 beside a 1-point divider, 340 when the pane is too narrow for both.
double sidebarWidth(double width);
/// Height of the lines table showing 2 to 8 of `rowCount` rows without scrolling.
double tableHeight(int rowCount);
/// Height of the lines table showing 2 or 3 rows.
double compactTableHeight(int rowCount);
/// "1200x800" (either case of x) as 1200 × 800; 0 × 0 for no text or anything else.
LayoutSize parseSize(std::optional<std::string_view> text);

} // namespace WindowLayout

} // namespace GlazeCore
