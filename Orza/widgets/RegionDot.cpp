#include "Orza/widgets/RegionDot.h"

#include "Orza/widgets/RegionColors.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QtGlobal>

#if QT_VERSION >= QT_VERSION_CHECK(6, 10, 0)
#include <QAccessibilityHints>
#include <QStyleHints>
#endif

namespace Orza {

namespace {

using GlazeCore::StullRegion;

/// Paints the dot at whatever size a view asks for, with the palette of the moment.
class RegionDotEngine final : public QIconEngine {
public:
    RegionDotEngine(std::optional<StullRegion> region, RegionDot::Contrast contrast)
        : m_region(region), m_contrast(contrast) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        QPalette palette = QGuiApplication::palette();
        // On a selected row the row's text colour is the foreground, so the edge stays visible on the highlight.
        if (mode == QIcon::Selected) {
            palette.setColor(QPalette::WindowText, palette.color(QPalette::HighlightedText));
            palette.setColor(QPalette::PlaceholderText, palette.color(QPalette::HighlightedText));
        }
        RegionDot::paint(*painter, rect, m_region, palette,
                         mode == QIcon::Selected ? RegionDot::Contrast::increased : m_contrast);
    }
    QIconEngine* clone() const override { return new RegionDotEngine(*this); }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(), size), mode, state);
        return pixmap;
    }

private:
    std::optional<StullRegion> m_region;
    RegionDot::Contrast m_contrast;
};

} // namespace

RegionDot::RegionDot(std::optional<GlazeCore::StullRegion> region, QWidget* parent)
    : QWidget(parent), m_region(region), m_contrast(systemContrast()) {
    setFixedSize(diameter, diameter);
}

void RegionDot::setRegion(std::optional<GlazeCore::StullRegion> region) {
    if (region == m_region) return;
    m_region = region;
    update();
}

void RegionDot::setContrast(Contrast contrast) {
    if (contrast == m_contrast) return;
    m_contrast = contrast;
    update();
}

QColor RegionDot::color(GlazeCore::StullRegion region) {
    return regionColor(region);
}

void RegionDot::paint(QPainter& painter, const QRectF& bounds, std::optional<GlazeCore::StullRegion> region,
                      const QPalette& palette, Contrast contrast) {
    const qreal side = std::min<qreal>({qreal(diameter), bounds.width(), bounds.height()});
    const QRectF circle(bounds.center().x() - side / 2, bounds.center().y() - side / 2, side, side);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // Borders lie inside the circle's edge, so a filled and a hollow dot are the same size.
    const auto border = [&](qreal width, QColor color) {
        painter.setPen(QPen(color, width));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(circle.adjusted(width / 2, width / 2, -width / 2, -width / 2));
    };
    if (region) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(color(*region));
        painter.drawEllipse(circle);
        QColor edge = palette.color(QPalette::WindowText);
        edge.setAlphaF(contrast == Contrast::increased ? 0.8f : 0.25f);
        border(0.5, edge);
    } else {
        border(1.0, palette.color(QPalette::PlaceholderText));
    }
    painter.restore();
}

QIcon RegionDot::icon(std::optional<GlazeCore::StullRegion> region, Contrast contrast) {
    return QIcon(new RegionDotEngine(region, contrast));
}

RegionDot::Contrast RegionDot::systemContrast() {
#if QT_VERSION >= QT_VERSION_CHECK(6, 10, 0)
    if (QGuiApplication::styleHints()->accessibility()->contrastPreference() == Qt::ContrastPreference::HighContrast)
        return Contrast::increased;
#endif
    return Contrast::standard;
}

void RegionDot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint(painter, rect(), m_region, palette(), m_contrast);
}

} // namespace Orza
