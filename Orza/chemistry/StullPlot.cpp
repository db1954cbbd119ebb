#include "Orza/chemistry/StullPlot.h"

#include "Orza/display/NumberDisplay.h"
#include "Orza/widgets/RegionNames.h"
#include "Orza/widgets/TextStyle.h"

#include <QAccessibleWidget>
#include <QEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace Orza {

namespace {

using GlazeCore::StullRegion;
using Style = TextStyle::Style;

constexpr qreal tickLength = 4;
constexpr qreal gridLineWidth = 0.5;
/// Roughly how far apart ticks may come, in points.
constexpr qreal xTickSpacing = 60;
constexpr qreal yTickSpacing = 28;
constexpr qreal annotationPadding = 4;
constexpr qreal annotationSpacing = 4;

/// Multiples of 1, 2 or 5 times a power of ten, at most about `maxCount` of them within [lower, upper].
std::vector<double> niceTicks(double lower, double upper, int maxCount) {
    std::vector<double> ticks;
    if (!std::isfinite(lower) || !std::isfinite(upper) || !(upper > lower) || maxCount < 1) return ticks;
    const double rough = (upper - lower) / maxCount;
    const double magnitude = std::pow(10.0, std::floor(std::log10(rough)));
    double step = 10 * magnitude;
    for (const double multiple : {1.0, 2.0, 5.0})
        if (multiple * magnitude >= rough) {
            step = multiple * magnitude;
            break;
        }
    const auto first = static_cast<long long>(std::ceil(lower / step - 1e-9));
    const auto last = static_cast<long long>(std::floor(upper / step + 1e-9));
    if (last - first > 1000) return ticks; // rounding gone wrong: no ticks rather than a flood
    for (long long k = first; k <= last; ++k)
        ticks.push_back(double(k) * step);
    return ticks;
}

/// The colour at a share of its own opacity, so a translucent palette colour stays translucent.
QColor withAlpha(QColor color, double alpha) {
    color.setAlphaF(float(color.alphaF() * alpha));
    return color;
}

/// The part of a segment inside a rectangle (Liang–Barsky), and how far along the segment it starts; a null
/// line when none of it is inside.
std::pair<QLineF, qreal> clipped(const QLineF& segment, const QRectF& rect) {
    const qreal dx = segment.dx();
    const qreal dy = segment.dy();
    qreal enter = 0;
    qreal leave = 1;
    const std::array<std::pair<qreal, qreal>, 4> sides{{{-dx, segment.x1() - rect.left()},
                                                        {dx, rect.right() - segment.x1()},
                                                        {-dy, segment.y1() - rect.top()},
                                                        {dy, rect.bottom() - segment.y1()}}};
    for (const auto& [p, q] : sides) {
        if (p == 0) {
            if (q < 0) return {};
            continue;
        }
        const qreal t = q / p;
        if (p < 0)
            enter = std::max(enter, t);
        else
            leave = std::min(leave, t);
        if (enter > leave) return {};
    }
    const QLineF inside(segment.pointAt(enter), segment.pointAt(leave));
    if (inside.length() == 0) return {};
    return {inside, enter * segment.length()};
}

/// The plot is one element for assistive tools: a chart whose value says where the glaze is and whose
/// description says it again before its axes and points.
class StullPlotInterface final : public QAccessibleWidget {
public:
    explicit StullPlotInterface(StullPlot* plot) : QAccessibleWidget(plot, QAccessible::Chart) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) return static_cast<const StullPlot*>(widget())->accessibilityValue();
        return QAccessibleWidget::text(kind);
    }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
};

QAccessibleInterface* plotFactory(const QString& className, QObject* object) {
    if (className != QLatin1String("Orza::StullPlot") || !object) return nullptr;
    return new StullPlotInterface(static_cast<StullPlot*>(object));
}

} // namespace

StullPlot::StullPlot(QWidget* parent) : QWidget(parent), m_contrast(RegionDot::systemContrast()) {
    static const bool installed = (QAccessible::installFactory(plotFactory), true);
    (void)installed;
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAccessibleName(tr("Stull chart"));
    refreshAccessibility();
}

void StullPlot::setInput(const StullChartInput& given) {
    const StullChartInput input = StullChart::drawable(given);
    if (input == m_input) return;
    m_input = input;
    refreshAccessibility();
    update();
}

void StullPlot::setContrast(RegionDot::Contrast contrast) {
    if (contrast == m_contrast) return;
    m_contrast = contrast;
    update();
}

double StullPlot::regionOpacity() const {
    return StullChart::regionOpacity(TextStyle::isDark(palette()), m_contrast);
}

const QImage& StullPlot::regionImage() const {
    const StullDomain wanted = domain();
    const double opacity = regionOpacity();
    if (m_image.isNull() || !(wanted == m_imageDomain) || opacity != m_imageOpacity) {
        m_image = StullChart::regionImage(wanted, opacity);
        m_imageDomain = wanted;
        m_imageOpacity = opacity;
        ++m_imageBuilds;
    }
    return m_image;
}

const QImage& StullPlot::backgroundLayer(const QRectF& plot, qreal devicePixelRatio) const {
    const QImage& raster = regionImage();
    const QSize pixels(qRound(plot.width() * devicePixelRatio), qRound(plot.height() * devicePixelRatio));
    const QRgb grid = gridColor().rgba();
    if (m_layerFrom != m_imageBuilds || m_layer.size() != pixels || m_layer.devicePixelRatio() != devicePixelRatio ||
        m_layerGrid != grid) {
        m_layer = raster.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                      .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        m_layer.setDevicePixelRatio(devicePixelRatio);
        QPainter painter(&m_layer);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(-plot.topLeft());
        paintGrid(painter, plot);
        m_layerFrom = m_imageBuilds;
        m_layerGrid = grid;
    }
    return m_layer;
}

QString StullPlot::accessibilityValue() const {
    return stullAccessibilityValue(m_input);
}

void StullPlot::refreshAccessibility() {
    // Qt's Linux bridge sends no value for a chart, so the description opens with it; the chart description
    // for exploring the points follows.
    const ChartDescription description = descriptor().makeChartDescription();
    setAccessibleDescription(accessibilityValue() + QLatin1Char(' ') + description.text());
    setWhatsThis(description.summary.value_or(QString()));
}

QFont StullPlot::tickFont() const {
    return TextStyle::monospacedDigits(TextStyle::font(Style::caption, font()));
}

QFont StullPlot::titleFont() const {
    return TextStyle::font(Style::caption, font());
}

QFont StullPlot::regionFont() const {
    QFont regionNames = TextStyle::font(Style::caption2, font());
    regionNames.setWeight(QFont::Medium);
    return regionNames;
}

QFont StullPlot::annotationFont() const {
    return TextStyle::semibold(TextStyle::font(Style::caption, font()));
}

StullPlot::Margins StullPlot::marginsFor(const QRectF& bounds) const {
    const QFontMetricsF ticks(tickFont());
    const QFontMetricsF titles(titleFont());
    Margins margins{};
    margins.top = ticks.height() / 2 + 2;
    margins.bottom = tickLength + 2 + ticks.height() + 2 + titles.height();
    const qreal plotHeight = std::max<qreal>(1, bounds.height() - margins.top - margins.bottom);
    const StullDomain shown = domain();
    qreal widest = 0;
    for (const double tick :
         niceTicks(shown.y.lowerBound, shown.y.upperBound, std::max(2, int(plotHeight / yTickSpacing))))
        widest = std::max(widest, ticks.horizontalAdvance(formatDouble(tick)));
    margins.left = titles.height() + 4 + widest + 3 + tickLength;
    margins.right = std::max<qreal>(8, ticks.horizontalAdvance(formatDouble(shown.x.upperBound)) / 2 + 2);
    // Whole points, so the plot area starts on a pixel and the raster is copied, not resampled, each paint.
    for (qreal* side : {&margins.left, &margins.top, &margins.right, &margins.bottom})
        *side = std::ceil(*side);
    return margins;
}

QRectF StullPlot::plotRectIn(const QRectF& bounds) const {
    const Margins margins = marginsFor(bounds);
    return bounds.adjusted(margins.left, margins.top, -margins.right, -margins.bottom);
}

QPointF StullPlot::toPixelIn(const QRectF& plot, double siO2, double al2O3) const {
    const StullDomain shown = domain();
    const double fx = (siO2 - shown.x.lowerBound) / (shown.x.upperBound - shown.x.lowerBound);
    const double fy = (al2O3 - shown.y.lowerBound) / (shown.y.upperBound - shown.y.lowerBound);
    return {plot.left() + fx * plot.width(), plot.bottom() - fy * plot.height()};
}

void StullPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint(painter, rect());
}

void StullPlot::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange) update();
}

void StullPlot::paint(QPainter& painter, const QRectF& bounds) const {
    const QRectF plot = plotRectIn(bounds);
    if (plot.width() <= 0 || plot.height() <= 0) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (painter.worldTransform().type() <= QTransform::TxTranslate) {
        const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
        painter.drawImage(plot.topLeft(), backgroundLayer(plot, ratio));
    } else {
        // Printing and scaled previews resample as they draw.
        painter.drawImage(plot, regionImage());
        paintGrid(painter, plot);
    }
    paintAxes(painter, plot, bounds);
    paintRegionLabels(painter, plot);
    painter.save();
    painter.setClipRect(plot); // earlier points may lie outside a domain made for the current one
    paintTrail(painter, plot);
    painter.restore();
    paintCurrent(painter, plot);
    painter.restore();
}

QColor StullPlot::gridColor() const {
    return withAlpha(palette().color(QPalette::WindowText), 0.2);
}

void StullPlot::paintGrid(QPainter& painter, const QRectF& plot) const {
    const StullDomain shown = domain();
    painter.setPen(QPen(gridColor(), gridLineWidth));
    for (const double value :
         niceTicks(shown.x.lowerBound, shown.x.upperBound, std::max(2, int(plot.width() / xTickSpacing)))) {
        const qreal x = toPixelIn(plot, value, shown.y.lowerBound).x();
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }
    for (const double value :
         niceTicks(shown.y.lowerBound, shown.y.upperBound, std::max(2, int(plot.height() / yTickSpacing)))) {
        const qreal y = toPixelIn(plot, shown.x.lowerBound, value).y();
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }
}

void StullPlot::paintAxes(QPainter& painter, const QRectF& plot, const QRectF& bounds) const {
    const StullDomain shown = domain();
    const QColor primary = palette().color(QPalette::WindowText);
    const QPen tickPen(withAlpha(primary, 0.45), gridLineWidth);
    const QFont ticks = tickFont();
    const QFontMetricsF metrics(ticks);
    painter.setFont(ticks);
    const int xCount = std::max(2, int(plot.width() / xTickSpacing));
    for (const double value : niceTicks(shown.x.lowerBound, shown.x.upperBound, xCount)) {
        const qreal x = toPixelIn(plot, value, shown.y.lowerBound).x();
        painter.setPen(tickPen);
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + tickLength));
        painter.setPen(TextStyle::secondary(palette()));
        const QRectF label(x - 40, plot.bottom() + tickLength + 2, 80, metrics.height());
        painter.drawText(label, Qt::AlignHCenter | Qt::AlignTop, formatDouble(value));
    }
    const int yCount = std::max(2, int(plot.height() / yTickSpacing));
    for (const double value : niceTicks(shown.y.lowerBound, shown.y.upperBound, yCount)) {
        const qreal y = toPixelIn(plot, shown.x.lowerBound, value).y();
        painter.setPen(tickPen);
        painter.drawLine(QPointF(plot.left() - tickLength, y), QPointF(plot.left(), y));
        painter.setPen(TextStyle::secondary(palette()));
        const QRectF label(plot.left() - tickLength - 3 - 80, y - metrics.height() / 2, 80, metrics.height());
        painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter, formatDouble(value));
    }

    painter.setFont(titleFont());
    painter.setPen(TextStyle::secondary(palette()));
    const qreal titleHeight = QFontMetricsF(titleFont()).height();
    const QRectF xTitle(plot.left(), plot.bottom() + tickLength + 2 + metrics.height() + 2, plot.width(), titleHeight);
    painter.drawText(xTitle, Qt::AlignHCenter | Qt::AlignTop, tr("SiO₂ (UMF)"));
    painter.save();
    painter.translate(bounds.left(), plot.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-plot.height() / 2, 0, plot.height(), titleHeight), Qt::AlignHCenter | Qt::AlignTop,
                     tr("Al₂O₃ (UMF)"));
    painter.restore();
}

QColor StullPlot::fillAt(const QRectF& plot, const QPointF& point) const {
    const QColor window = palette().color(QPalette::Window);
    const QImage& raster = regionImage();
    if (raster.isNull() || plot.isEmpty()) return window;
    const int column =
        std::clamp(int((point.x() - plot.left()) / plot.width() * raster.width()), 0, raster.width() - 1);
    const int row = std::clamp(int((point.y() - plot.top()) / plot.height() * raster.height()), 0, raster.height() - 1);
    return TextStyle::seenOver(raster.pixelColor(column, row), window);
}

std::vector<StullPlot::RegionLabel> StullPlot::regionLabelsIn(const QRectF& plot) const {
    const StullDomain shown = domain();
    const QFontMetricsF metrics(regionFont());
    const QColor window = palette().color(QPalette::Window);
    const QColor text = palette().color(QPalette::WindowText);
    const QColor secondary = TextStyle::seenOver(TextStyle::secondary(palette()), window);
    std::vector<RegionLabel> labels;
    for (const GlazeCore::StullLabelAnchor& anchor : GlazeCore::Stull::labelAnchors()) {
        if (!shown.contains(anchor.siO2, anchor.al2O3)) continue;
        const QPointF at = toPixelIn(plot, anchor.siO2, anchor.al2O3);
        const QString name = regionDisplayName(anchor.region);
        const qreal width = metrics.horizontalAdvance(name) + 2;
        const QRectF rect(at.x() - width / 2, at.y() - metrics.height() / 2, width, metrics.height());
        // The secondary colour where it reads on every fill the name covers, else a shade towards the text.
        std::vector<QColor> fills;
        for (const qreal fx : {0.0, 0.25, 0.5, 0.75, 1.0})
            for (const qreal fy : {0.0, 0.5, 1.0})
                fills.push_back(
                    fillAt(plot, QPointF(rect.left() + fx * rect.width(), rect.top() + fy * rect.height())));
        labels.push_back({name, rect, TextStyle::readableAgainst(secondary, text, fills)});
    }
    return labels;
}

void StullPlot::paintRegionLabels(QPainter& painter, const QRectF& plot) const {
    painter.setFont(regionFont());
    for (const RegionLabel& label : regionLabelsIn(plot)) {
        painter.setPen(label.colour);
        painter.drawText(label.rect, Qt::AlignCenter, label.name);
    }
}

void StullPlot::paintTrail(QPainter& painter, const QRectF& plot) const {
    const QColor primary = palette().color(QPalette::WindowText);
    QPolygonF line;
    for (const StullPoint& point : StullChart::trailLinePoints(m_input))
        line << toPixelIn(plot, point.siO2, point.al2O3);
    if (line.size() >= 2) {
        QPen dashed(withAlpha(primary, 0.5), trailLineWidth, Qt::CustomDashLine, Qt::FlatCap, Qt::RoundJoin);
        // Qt measures dashes in pen widths: 4 points on, 3 off.
        dashed.setDashPattern({4 / trailLineWidth, 3 / trailLineWidth});
        painter.setBrush(Qt::NoBrush);
        const QRectF visible = plot.adjusted(-trailLineWidth, -trailLineWidth, trailLineWidth, trailLineWidth);
        if (std::all_of(line.begin(), line.end(), [&](const QPointF& p) { return visible.contains(p); })) {
            painter.setPen(dashed);
            painter.drawPolyline(line);
        } else {
            // An earlier point far off the plot would have Qt dash thousands of unseen pixels on every
            // paint: draw only the visible part of each segment, its dashes in phase with the whole line.
            qreal travelled = 0;
            for (qsizetype i = 1; i < line.size(); ++i) {
                const QLineF segment(line[i - 1], line[i]);
                if (const auto [shown, skipped] = clipped(segment, visible); !shown.isNull()) {
                    dashed.setDashOffset((travelled + skipped) / trailLineWidth);
                    painter.setPen(dashed);
                    painter.drawLine(shown);
                }
                travelled += segment.length();
            }
        }
    }
    const qreal radius = std::sqrt(trailSymbolArea) / 2;
    painter.setPen(Qt::NoPen);
    const std::vector<StullPoint> shown = StullChart::shownTrail(m_input.trail);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        painter.setBrush(withAlpha(primary, StullChart::trailPointOpacity(int(i))));
        painter.drawEllipse(toPixelIn(plot, shown[i].siO2, shown[i].al2O3), radius, radius);
    }
}

QRectF StullPlot::currentLabelRectIn(const QRectF& plot) const {
    if (!m_input.current) return {};
    const QFontMetricsF metrics(annotationFont());
    const QPointF at = toPixelIn(plot, m_input.current->siO2, m_input.current->al2O3);
    const qreal width = metrics.horizontalAdvance(tr("This glaze")) + 2 * annotationPadding;
    const qreal height = metrics.height() + 2;
    const qreal clearance = std::sqrt(currentSymbolArea) / 2 + annotationSpacing;
    // Above the diamond, centred on it, but never cut by the plot's edges: it moves in sideways, and below
    // the diamond when there is no room above.
    qreal top = at.y() - clearance - height;
    if (top < plot.top()) top = at.y() + clearance;
    const qreal left = std::clamp(at.x() - width / 2, plot.left(), std::max(plot.left(), plot.right() - width));
    return {left, std::clamp(top, plot.top(), std::max(plot.top(), plot.bottom() - height)), width, height};
}

QRectF StullPlot::currentLabelRect() const {
    return currentLabelRectIn(plotRect());
}

void StullPlot::paintCurrent(QPainter& painter, const QRectF& plot) const {
    if (!m_input.current) return;
    const QColor primary = palette().color(QPalette::WindowText);
    const QPointF at = toPixelIn(plot, m_input.current->siO2, m_input.current->al2O3);
    const qreal half = std::sqrt(currentSymbolArea) / 2;
    const QPolygonF diamond{QPointF(at.x(), at.y() - half), QPointF(at.x() + half, at.y()),
                            QPointF(at.x(), at.y() + half), QPointF(at.x() - half, at.y())};
    painter.setPen(Qt::NoPen);
    painter.setBrush(primary);
    painter.drawPolygon(diamond);

    const QRectF label = currentLabelRectIn(plot);
    painter.setBrush(withAlpha(palette().color(QPalette::Window), 0.8));
    painter.drawRoundedRect(label, 3, 3);
    painter.setFont(annotationFont());
    painter.setPen(primary);
    painter.drawText(label, Qt::AlignCenter, tr("This glaze"));
}

} // namespace Orza
