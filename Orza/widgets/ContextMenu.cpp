#include "Orza/widgets/ContextMenu.h"

#include "Orza/widgets/AccessibleMenuHint.h"

#include <QAction>
#include <QStyleOptionMenuItem>

namespace Orza {

ContextMenu::ContextMenu(QWidget* parent) : QMenu(parent) {
    readShortTitlesInMenu(this);
}

void ContextMenu::initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const {
    QMenu::initStyleOption(option, action);
    if (action->isSeparator()) return;
    // The style draws the shortcut after a tab in the same text; keep it.
    const qsizetype tab = option->text.indexOf(QLatin1Char('\t'));
    option->text = action->iconText() + (tab >= 0 ? option->text.mid(tab) : QString());
}

QAction* ToolbarMenu::addItemFor(QAction* source) {
    auto* item = addAction(source->text());
    const auto follow = [item, source] {
        item->setText(source->text());
        item->setStatusTip(source->statusTip());
        item->setEnabled(source->isEnabled());
        item->setVisible(source->isVisible());
    };
    follow();
    connect(source, &QAction::changed, item, follow);
    connect(item, &QAction::triggered, source, [source] { source->trigger(); });
    return item;
}

} // namespace Orza
