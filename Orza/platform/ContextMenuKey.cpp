#include "Orza/platform/ContextMenuKey.h"

#include "Orza/platform/ApplicationFilter.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace Orza {

void ContextMenuKey::install() {
    installApplicationFilter<ContextMenuKey>();
}

bool ContextMenuKey::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    // The window hands the key to the focused control, which is the first widget to see it.
    auto* control = qobject_cast<QWidget*>(watched);
    if (key->key() != Qt::Key_F10 || modifiers != Qt::ShiftModifier || !control || !control->isEnabled()) return false;
    // Where Qt puts the Menu key's menu: at the text cursor, or at the current row of a list.
    const QPoint at = control->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, control->mapToGlobal(at), key->modifiers());
    QCoreApplication::sendEvent(control, &menu);
    return true;
}

} // namespace Orza
