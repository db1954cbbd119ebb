#include "Orza/platform/WheelNeedsFocus.h"

#include "Orza/platform/ApplicationFilter.h"

#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QEvent>
#include <QScrollBar>

namespace Orza {

namespace {

bool turnsWithTheWheel(const QObject* object) {
    if (qobject_cast<const QComboBox*>(object) || qobject_cast<const QAbstractSpinBox*>(object)) return true;
    // A scroll bar is what the wheel is for.
    return qobject_cast<const QAbstractSlider*>(object) && !qobject_cast<const QScrollBar*>(object);
}

} // namespace

void WheelNeedsFocus::install() {
    installApplicationFilter<WheelNeedsFocus>();
}

bool WheelNeedsFocus::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type != QEvent::Wheel && type != QEvent::Polish) || !turnsWithTheWheel(watched)) return false;
    auto* control = static_cast<QWidget*>(watched);
    // A control that takes the focus from the wheel would have it by the time the wheel arrives.
    if (type == QEvent::Polish && control->focusPolicy() == Qt::WheelFocus) control->setFocusPolicy(Qt::StrongFocus);
    if (type != QEvent::Wheel || control->hasFocus()) return false;
    // Ignored and held back: the application offers the same wheel to the control's parents, once each, until
    // one takes it — the scroll area around a form does. A wheel the program sends goes nowhere further.
    event->ignore();
    return true;
}

} // namespace Orza
