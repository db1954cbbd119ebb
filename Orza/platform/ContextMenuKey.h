#pragma once

#include <QObject>

namespace Orza {

/**
 * Shift+F10 opens the context menu of the focused control, as the Menu key does: the same event, sent where the
 * desktop sends the Menu key's. Linux desktops offer both keys; Qt turns only the Menu key into a context menu.
 * One filter on the application serves every list, table and field.
 */
class ContextMenuKey final : public QObject {
    Q_OBJECT
public:
    /// Puts the filter on the running application; again changes nothing.
    static void install();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
    template <class Filter> friend void installApplicationFilter();
};

} // namespace Orza
