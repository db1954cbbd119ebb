#include "Orza/platform/FocusRing.h"

#include <QEvent>
#include <QFocusEvent>
#include <QPainter>

namespace Orza {

FocusRing::FocusRing(QWidget* owner) : QWidget(owner) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

FocusRing* FocusRing::attach(QWidget* owner) {
    auto* ring = new FocusRing(owner);
    owner->installEventFilter(ring);
    return ring;
}

void FocusRing::place(bool shown) {
    QWidget* owner = parentWidget();
    setGeometry(owner->rect());
    raise();
    setVisible(shown && owner->hasFocus());
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget()) {
        if (event->type() == QEvent::FocusIn)
            // A click shows where it landed; the ring is for the keyboard.
            m_byKeyboard = static_cast<QFocusEvent*>(event)->reason() != Qt::MouseFocusReason;
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut || event->type() == QEvent::Resize)
            place(m_byKeyboard);
    }
    return QWidget::eventFilter(watched, event);
}

void FocusRing::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}

} // namespace Orza
