#pragma once

#include "Orza/actions/Command.h"

#include <QKeySequence>
#include <QString>

#include <array>
#include <optional>
#include <vector>

/// The items a book window's toolbar can hold, what they say, and the user's choice of them. The choice is
/// one setting ("orza.book.toolbar") for every window, so a change shows in all of them.
namespace Orza::ToolbarItems {

enum class Item { addRecipe, replaceMaterial, oxideNudge, findTest, blend, batchSheet, chemistry };

/// Every item, in declaration order; also the default toolbar.
const std::array<Item, 7>& all();

/// The window command the item shows.
Command command(Item item);

/// The item's stored identifier: "addRecipe", "replaceMaterial", ... "batchSheet", "chemistry".
QString identifier(Item item);
std::optional<Item> fromIdentifier(const QString& identifier);

/// The label; the chemistry item's follows whether the chemistry panel is shown.
QString label(Item item, bool chemistryShown);
/// The name of the item's symbol among the application's icons.
QString symbol(Item item);
/// Names the action, says what it does and ends with the key of the matching menu command.
QString helpText(Item item, bool chemistryShown);
QString accessibleName(Item item, bool chemistryShown);
/// Shown as title and icon rather than the icon alone.
bool showsTitle(Item item);
/// The key of the menu command that does the same; the toolbar item itself has none.
std::optional<QKeySequence> menuKey(Item item);

/// Identifiers in order to items: unknown ones and repeats are dropped.
std::vector<Item> parse(const QString& stored);
QString serialize(const std::vector<Item>& items);

/// The user's toolbar, from the settings.
std::vector<Item> shown();
void setShown(const std::vector<Item>& items);

} // namespace Orza::ToolbarItems
