#include "Orza/chemistry/StullLegendSwatch.h"

#include "Orza/chemistry/StullChartRules.h"
#include "Orza/widgets/TextStyle.h"

#include <QPainter>

namespace Orza {

StullLegendSwatch::StullLegendSwatch(GlazeCore::StullRegion region, QWidget* parent)
    : QWidget(parent), m_region(region), m_contrast(RegionDot::systemContrast()) {
    setFixedSize(swatchWidth, swatchHeight);
}

void StullLegendSwatch::setContrast(RegionDot::Contrast contrast) {
    if (contrast == m_contrast) return;
    m_contrast = contrast;
    update();
}

QColor StullLegendSwatch::fillColor() const {
    QColor fill = RegionDot::color(m_region);
    fill.setAlphaF(float(StullChart::regionOpacity(TextStyle::isDark(palette()), m_contrast)));
    return fill;
}

void StullLegendSwatch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box(0, 0, swatchWidth, swatchHeight);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fillColor());
    painter.drawRoundedRect(box, 2, 2);
    // The border lies inside the edge, so the swatch keeps its size.
    QColor edge = palette().color(QPalette::WindowText);
    edge.setAlphaF(0.2f);
    painter.setPen(QPen(edge, 0.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(box.adjusted(0.25, 0.25, -0.25, -0.25), 1.75, 1.75);
}

} // namespace Orza
