#include "Orza/reformulate/MiddleElidedLabel.h"

#include <QPainter>

namespace Orza {

MiddleElidedLabel::MiddleElidedLabel(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void MiddleElidedLabel::setText(const QString& text) {
    if (text == m_text) return;
    m_text = text;
    updateGeometry();
    update();
}

QString MiddleElidedLabel::shownText() const {
    return fontMetrics().elidedText(m_text, Qt::ElideMiddle, width());
}

QSize MiddleElidedLabel::sizeHint() const {
    // One pixel more than the advance, so a text that fits exactly is never cut by rounding.
    return {fontMetrics().horizontalAdvance(m_text) + 1, fontMetrics().height()};
}

QSize MiddleElidedLabel::minimumSizeHint() const {
    return {std::min(sizeHint().width(), fontMetrics().horizontalAdvance(QStringLiteral("M\u2026M")) * 2),
            fontMetrics().height()};
}

void MiddleElidedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, shownText());
}

} // namespace Orza
