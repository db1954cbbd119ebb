#pragma once

#include "Orza/chemistry/StullChartDescriptor.h"
#include "Orza/chemistry/StullChartRules.h"
#include "Orza/widgets/RegionDot.h"

#include <QImage>
#include <QWidget>

#include <vector>

namespace Orza {

/**
 * The plot of the Stull chart: the region raster stretched to the plot area, gridlines and axes, the
 * region names at their anchors, the trail as fading circles on a dashed line, and the glaze as a diamond
 * labelled "This glaze".
 *
 * The raster is made again only when the domain or the region opacity changes. The plot area and the
 * mapping from data to pixels are public, so what is drawn can be checked where it should be.
 */
class StullPlot final : public QWidget {
    Q_OBJECT
public:
    /// Symbol sizes are areas, in square points: the side of the square that holds the symbol is the root.
    static constexpr double trailSymbolArea = 30;
    static constexpr double currentSymbolArea = 140;
    static constexpr double trailLineWidth = 1.5;

    explicit StullPlot(QWidget* parent = nullptr);

    const StullChartInput& input() const { return m_input; }
    void setInput(const StullChartInput& input);

    StullDomain domain() const { return StullChart::plotDomain(m_input.current); }
    /// The area inside the axes, in widget coordinates.
    QRectF plotRect() const { return plotRectIn(rect()); }
    QRectF plotRectIn(const QRectF& bounds) const;
    QPointF toPixel(double siO2, double al2O3) const { return toPixelIn(plotRect(), siO2, al2O3); }
    QPointF toPixelIn(const QRectF& plot, double siO2, double al2O3) const;
    /// The label above the current point, in widget coordinates; empty without a point.
    QRectF currentLabelRect() const;

    /// A region's name as the plot draws it: where, and in a colour that reads on the fill beneath it.
    struct RegionLabel {
        QString name;
        QRectF rect;
        QColor colour;
    };
    /// The region names that fall inside `plot`.
    std::vector<RegionLabel> regionLabelsIn(const QRectF& plot) const;
    /// What the plot shows at `point` of `plot` before any mark: the region's fill over the window.
    QColor fillAt(const QRectF& plot, const QPointF& point) const;

    RegionDot::Contrast contrast() const { return m_contrast; }
    void setContrast(RegionDot::Contrast contrast);
    double regionOpacity() const;
    /// The raster behind the marks, made for the current domain and opacity.
    const QImage& regionImage() const;
    /// How many times the raster has been made, for checking that it is kept.
    int regionImageBuilds() const { return m_imageBuilds; }

    /// What assistive technology is told: the spoken value and the chart description.
    QString accessibilityValue() const;
    StullChartDescriptor descriptor() const { return StullChartDescriptor::make(m_input); }

    /// Draws the whole plot into `bounds`: the widget, print and export share it.
    void paint(QPainter& painter, const QRectF& bounds) const;

    QSize sizeHint() const override { return {420, 200}; }
    QSize minimumSizeHint() const override { return {220, 140}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Margins {
        qreal left, top, right, bottom;
    };
    Margins marginsFor(const QRectF& bounds) const;
    void paintAxes(QPainter& painter, const QRectF& plot, const QRectF& bounds) const;
    void paintRegionLabels(QPainter& painter, const QRectF& plot) const;
    void paintTrail(QPainter& painter, const QRectF& plot) const;
    void paintCurrent(QPainter& painter, const QRectF& plot) const;
    QRectF currentLabelRectIn(const QRectF& plot) const;
    /// The raster and gridlines at the plot's pixels, for painters that only translate.
    const QImage& backgroundLayer(const QRectF& plot, qreal devicePixelRatio) const;
    void paintGrid(QPainter& painter, const QRectF& plot) const;
    QColor gridColor() const;
    QFont tickFont() const;
    QFont titleFont() const;
    QFont regionFont() const;
    QFont annotationFont() const;
    void refreshAccessibility();

    StullChartInput m_input;
    RegionDot::Contrast m_contrast;
    mutable QImage m_image;
    mutable StullDomain m_imageDomain{};
    mutable double m_imageOpacity = -1;
    mutable int m_imageBuilds = 0;
    // The raster resampled to the plot's pixels with the gridlines on it, kept until the raster, the plot's
    // size or the grid's colour changes: copying it is far cheaper than resampling and stroking each paint.
    mutable QImage m_layer;
    mutable int m_layerFrom = 0;
    mutable QRgb m_layerGrid = 0;
};

} // namespace Orza
