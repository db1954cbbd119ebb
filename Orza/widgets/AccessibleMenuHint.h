#pragma once

class QAction;
class QMenu;

namespace Orza {

/// Lets assistive technology read the action's status tip as the description of its menu items. Qt's own
/// menu items are read by their title alone, so a small interface of our own adds the hint.
void readStatusTipInMenus(QAction* action);

/// Reads every item of `menu`, those added later too, by its short title (iconText), as a context menu draws it.
/// Qt reads an item by its action's text, which the menu bar shows.
void readShortTitlesInMenu(QMenu* menu);

} // namespace Orza
