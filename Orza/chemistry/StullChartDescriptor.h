#pragma once

#include "GlazeCore/chemistry/Stull.h"
#include "Orza/chemistry/StullChartRules.h"

#include <QLocale>
#include <QString>

#include <optional>
#include <vector>

namespace Orza {

/// One numeric axis of a chart description, with the words each value is read with.
struct ChartAxisDescription {
    QString title;
    GlazeCore::Stull::AxisRange range;
    QString valuePrefix;

    /// How a value on this axis is read: the prefix and the value at 2 decimals.
    QString describe(double value, const QLocale& locale = {}) const;
};

struct ChartDataPoint {
    double x = 0;
    double y = 0;
    QString label;
};

struct ChartSeriesDescription {
    QString name;
    bool isContinuous = false;
    std::vector<ChartDataPoint> points;
};

/// What assistive technology can be told about a chart: title, summary, axes and series. Qt has no chart
/// descriptor of its own, so this is kept as data; the chart's spoken texts are built from the same fields.
struct ChartDescription {
    QString title;
    std::optional<QString> summary;
    ChartAxisDescription xAxis;
    ChartAxisDescription yAxis;
    std::vector<ChartSeriesDescription> series;

    /// The whole description as one text, the form in which Qt's accessibility can pass it on: the summary,
    /// both axes with their ranges, then every series with its points in order.
    QString text(const QLocale& locale = {}) const;
};

/**
 * The Stull chart as data for assistive technology: the current point, the earlier points drawn, the
 * current point's region and the plot's domain.
 */
struct StullChartDescriptor {
    std::optional<StullPoint> current;
    std::vector<StullPoint> previous;
    std::optional<GlazeCore::StullRegion> region;
    GlazeCore::Stull::AxisRange xRange;
    GlazeCore::Stull::AxisRange yRange;

    /// From the chart's input and its plot domain.
    static StullChartDescriptor make(const StullChartInput& input);

    ChartDescription makeChartDescription() const;
};

/// The chart's spoken value: where the glaze lies and how it moved since the last edit (or, comparing,
/// against the current recipe).
QString stullAccessibilityValue(const StullChartInput& input, const QLocale& locale = {});

} // namespace Orza
