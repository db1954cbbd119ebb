#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/chemistry/Stull.h"
#include "GlazeCore/library/MaterialLibrary.h"

#include <QString>

#include <optional>
#include <vector>

/// What the sidebar's rows say: titles, help texts and accessibility labels, and a recipe's Stull region.
/// Computed from the book whenever a row is drawn; nothing is stored.
namespace Orza::SidebarRows {

/// The recipe's name as stored (a very long one shortened, shownText), or "Untitled recipe" when it is empty;
/// blanks are kept.
QString displayName(const GlazeCore::Recipe& recipe);

/// The region of the recipe's base glaze: only lines that name a material, additions left out. None when
/// no line names a material, the calculation fails or the point lies outside the chart.
std::optional<GlazeCore::StullRegion> rowRegion(const GlazeCore::Recipe& recipe,
                                                const GlazeCore::MaterialLibrary& library);

/// The display name, followed by the region when there is one.
QString rowHelpText(std::optional<GlazeCore::StullRegion> region, const QString& displayName);

/// "Recipe <name>, cone <cone>", with the region when there is one.
QString accessibilityLabel(const GlazeCore::Recipe& recipe, std::optional<GlazeCore::StullRegion> region);

/// The Tests row's help text: the tile count and the code of the last tile in book order.
QString testsHelpText(const std::vector<GlazeCore::TestTile>& tests);

QString testsAccessibilityLabel(std::size_t count);

} // namespace Orza::SidebarRows
