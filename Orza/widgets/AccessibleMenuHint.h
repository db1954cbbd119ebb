#pragma once

class QAction;

namespace Orza {

/// Lets assistive technology read the action's status tip as the description of its menu items. Qt's own
/// menu items are read by their title alone, so a small interface of our own adds the hint.
void readStatusTipInMenus(QAction* action);

} // namespace Orza
