#include "Orza/chemistry/StullChartDescriptor.h"

#include "Orza/display/NumberDisplay.h"
#include "Orza/widgets/RegionNames.h"

#include <QCoreApplication>

namespace Orza {

namespace {

QString tr(const char* text, int count = -1) {
    return QCoreApplication::translate("StullChartDescriptor", text, nullptr, count);
}

QString regionOf(const StullPoint& point) {
    return regionDisplayName(GlazeCore::Stull::region(point.siO2, point.al2O3));
}

} // namespace

QString ChartAxisDescription::describe(double value, const QLocale& locale) const {
    return valuePrefix + formatDoublePlaces(2, value, locale);
}

QString ChartDescription::text(const QLocale& locale) const {
    QStringList sentences;
    if (summary) sentences << *summary + QLatin1Char('.');
    const auto range = [&](const ChartAxisDescription& axis) {
        return std::pair(formatDoublePlaces(2, axis.range.lowerBound, locale),
                         formatDoublePlaces(2, axis.range.upperBound, locale));
    };
    const auto [xFrom, xTo] = range(xAxis);
    const auto [yFrom, yTo] = range(yAxis);
    sentences << tr("Horizontal axis %1, from %2 to %3.").arg(xAxis.title, xFrom, xTo);
    sentences << tr("Vertical axis %1, from %2 to %3.").arg(yAxis.title, yFrom, yTo);
    for (const ChartSeriesDescription& line : series) {
        QStringList points;
        for (const ChartDataPoint& point : line.points)
            points << point.label + QStringLiteral(", ") + xAxis.describe(point.x, locale) + QStringLiteral(", ") +
                          yAxis.describe(point.y, locale);
        sentences << line.name + QStringLiteral(": ") +
                         (points.isEmpty() ? tr("no points") : points.join(QStringLiteral("; "))) + QLatin1Char('.');
    }
    return sentences.join(QLatin1Char(' '));
}

StullChartDescriptor StullChartDescriptor::make(const StullChartInput& input) {
    const StullDomain domain = StullChart::plotDomain(input.current);
    return {input.current, StullChart::shownTrail(input.trail), StullChart::currentRegion(input), domain.x, domain.y};
}

ChartDescription StullChartDescriptor::makeChartDescription() const {
    std::vector<StullPoint> points = previous;
    if (current) points.push_back(*current);
    ChartSeriesDescription series{tr("Glaze position, oldest first"), true, {}};
    for (std::size_t i = 0; i < points.size(); ++i) {
        const QString name = i + 1 == points.size() ? tr("Current") : tr("Edit %1").arg(i + 1);
        series.points.push_back({points[i].siO2, points[i].al2O3, name + QStringLiteral(", ") + regionOf(points[i])});
    }
    std::optional<QString> summary;
    if (region) summary = tr("Current glaze in the %1 region").arg(regionDisplayName(*region));
    return {tr("Stull chart"),
            summary,
            {tr("SiO2 UMF"), xRange, tr("Silica ")},
            {tr("Al2O3 UMF"), yRange, tr("Alumina ")},
            {series}};
}

QString stullAccessibilityValue(const StullChartInput& input, const QLocale& locale) {
    if (!input.current) return tr("No glaze point yet.");
    const StullPoint& now = *input.current;
    QString text =
        tr("Glaze point at silica %1, alumina %2, in the %3 region.")
            .arg(formatDoublePlaces(2, now.siO2, locale), formatDoublePlaces(2, now.al2O3, locale), regionOf(now));
    const std::vector<StullPoint> earlier = StullChart::shownTrail(input.trail);
    if (earlier.empty()) return text;
    const QString siO2Change = formatDoublePlaces(2, now.siO2 - earlier.back().siO2, locale);
    const QString al2O3Change = formatDoublePlaces(2, now.al2O3 - earlier.back().al2O3, locale);
    if (input.isComparison)
        return text + tr(" Compared with the current recipe, silica changes by %1 and alumina by %2.")
                          .arg(siO2Change, al2O3Change);
    text += tr(" Since the last edit, silica changed by %1 and alumina by %2.").arg(siO2Change, al2O3Change);
    return text + tr(" The trail has %n earlier point(s).", int(earlier.size()));
}

} // namespace Orza
