#include "Orza/widgets/ContextMenu.h"

#include <QAction>
#include <QStyleOptionMenuItem>

namespace Orza {

void ContextMenu::initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const {
    QMenu::initStyleOption(option, action);
    if (action->isSeparator()) return;
    // The style draws the shortcut after a tab in the same text; keep it.
    const qsizetype tab = option->text.indexOf(QLatin1Char('\t'));
    option->text = action->iconText() + (tab >= 0 ? option->text.mid(tab) : QString());
}

} // namespace Orza
