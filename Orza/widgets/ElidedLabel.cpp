#include "Orza/widgets/ElidedLabel.h"

#include <QPainter>

#include <algorithm>

namespace Orza {

ElidedLabel::ElidedLabel(QWidget* parent, Qt::TextElideMode mode) : QWidget(parent), m_mode(mode) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void ElidedLabel::setText(const QString& text) {
    if (text == m_text) return;
    m_text = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

QString ElidedLabel::shownText() const {
    return fontMetrics().elidedText(m_text, m_mode, width());
}

QSize ElidedLabel::sizeHint() const {
    // One pixel more than the advance, so a text that fits exactly is never cut by rounding.
    return {fontMetrics().horizontalAdvance(m_text) + 1, fontMetrics().height()};
}

QSize ElidedLabel::minimumSizeHint() const {
    // Cut in the middle, a name keeps a letter or two at each end.
    if (m_mode == Qt::ElideMiddle)
        return {std::min(sizeHint().width(), fontMetrics().horizontalAdvance(QStringLiteral("M\u2026M")) * 2),
                fontMetrics().height()};
    return {fontMetrics().horizontalAdvance(QStringLiteral("…")) * 3, fontMetrics().height()};
}

void ElidedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, shownText());
}

} // namespace Orza
