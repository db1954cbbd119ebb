#include "Orza/batch/BatchTotalRow.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>

namespace Orza {

BatchTotalRow::BatchTotalRow(QWidget* parent) : QWidget(parent), m_label(tr("Total")) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void BatchTotalRow::setWeightText(const QString& text) {
    if (text == m_weight) return;
    m_weight = text;
    setAccessibleName(tr("%1 %2").arg(m_label, m_weight));
    updateGeometry();
    update();
}

QFont BatchTotalRow::headlineFont() const {
    QFont headline = font();
    headline.setWeight(QFont::DemiBold);
    return headline;
}

QSize BatchTotalRow::sizeHint() const {
    const QFontMetrics metrics(headlineFont());
    const int gap = metrics.horizontalAdvance(QLatin1Char(' ')) * 4;
    return {metrics.horizontalAdvance(m_label) + gap + metrics.horizontalAdvance(m_weight), metrics.height()};
}

void BatchTotalRow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(headlineFont());
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect area = rect();
    const auto edge = [this](Qt::Alignment side) { return QStyle::visualAlignment(layoutDirection(), side); };
    painter.drawText(area, edge(Qt::AlignLeading) | Qt::AlignVCenter, m_label);
    painter.drawText(area, edge(Qt::AlignTrailing) | Qt::AlignVCenter, m_weight);
}

void BatchTotalRow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) updateGeometry();
}

} // namespace Orza
