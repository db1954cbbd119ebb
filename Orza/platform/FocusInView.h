#pragma once

#include <QObject>

namespace Orza {

/**
 * A field that takes the keyboard focus from a key, a command or the program is scrolled into view whole,
 * where it fits, by every scroll area around it, the innermost first: a field Tab reaches at the far side of a
 * form, or the search field Find Test focuses in a page scrolled sideways. A field clicked is left where it
 * is. One filter on the application serves every window, sheet and dialog.
 */
class FocusInView final : public QObject {
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
