#pragma once

#include <QWidget>

namespace Orza {

/// The sheet of this kind already up over `window`, brought to the front; none when there is none. A window
/// shows one sheet of a kind at a time: asking again brings the one up forward instead of stacking another.
template <typename Sheet> Sheet* raiseSheetOnScreen(QWidget& window) {
    for (Sheet* up : window.findChildren<Sheet*>(QString(), Qt::FindDirectChildrenOnly))
        if (up->isVisible()) {
            up->raise();
            up->activateWindow();
            return up;
        }
    return nullptr;
}

} // namespace Orza
