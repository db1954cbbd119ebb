#pragma once

#include <QObject>

namespace Orza {

/**
 * The wheel turns a combo box, a spin box (the date fields among them) or a slider only while it has the
 * keyboard focus. Over one without it the wheel goes on to what holds the control, so scrolling a form never
 * changes a choice the pointer passes over, and the wheel never gives such a control the focus either. One
 * filter on the application serves every window, sheet and dialog.
 */
class WheelNeedsFocus final : public QObject {
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
