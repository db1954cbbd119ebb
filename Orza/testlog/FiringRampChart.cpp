#include "Orza/testlog/FiringRampChart.h"

#include "Orza/display/NumberDisplay.h"
#include "Orza/testlog/FormSection.h"
#include "Orza/widgets/AccessibleOneElement.h"

#include <QEvent>
#include <QLineSeries>
#include <QLocale>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

namespace Orza {

namespace {

QValueAxis* makeAxis(const QString& title) {
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setMinorTickCount(0);
    return axis;
}

/// The smallest and largest finite values, or none when there are no finite ones.
std::optional<std::pair<double, double>> finiteRange(const std::vector<double>& values) {
    std::optional<std::pair<double, double>> range;
    for (const double value : values) {
        if (!std::isfinite(value)) continue;
        if (!range)
            range = {value, value};
        else
            range = {std::min(range->first, value), std::max(range->second, value)};
    }
    return range;
}

constexpr int mostSteps = 6;
// Labels of more digits crowd the plot away: a rate of 1e-300 °C/h ends after 300 digits of hours.
constexpr double largestInFullDigits = 1e7;
// A power of ten with one decimal tells apart the few ticks of any axis past that.
constexpr int powerDecimals = 1;

} // namespace

RampAxisScale RampAxisScale::of(double low, double high, double least) {
    const double span = std::max(high - low, least);
    const double rough = span / mostSteps;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    RampAxisScale scale;
    for (const double multiple : {1.0, 2.0, 5.0, 10.0}) {
        scale.step = multiple * power;
        if (scale.step >= rough * (1 - 1e-9)) break;
    }
    // Whole steps, counted from 0 so that the labels are round numbers.
    scale.min = std::floor(low / scale.step + 1e-9) * scale.step;
    scale.max = std::ceil(std::max(high, low + least) / scale.step - 1e-9) * scale.step;
    // A span near the largest double rounds up past it (a book's rate may be as small as 1e-306 °C/h).
    if (!std::isfinite(scale.max)) scale.max = std::floor(std::numeric_limits<double>::max() / scale.step) * scale.step;
    scale.decimals = std::max(0, int(-std::floor(std::log10(scale.step) + 1e-9)));
    return scale;
}

int RampAxisScale::steps() const {
    return int(std::lround((max - min) / step));
}

QStringList RampAxisScale::labels() const {
    QStringList texts;
    for (int i = 0, count = steps(); i <= count; ++i) {
        const double value = min + i * step;
        texts << (inFullDigits() ? formatDoublePlaces(decimals, value) : QLocale().toString(value, 'e', powerDecimals));
    }
    return texts;
}

QString RampAxisScale::labelFormat() const {
    if (!inFullDigits()) return QStringLiteral("%.%1e").arg(powerDecimals);
    return QStringLiteral("%.%1f").arg(decimals);
}

bool RampAxisScale::inFullDigits() const {
    return std::max(std::fabs(min), std::fabs(max)) < largestInFullDigits;
}

FiringRampChart::FiringRampChart(QWidget* parent)
    // Handing the chart to the constructor: a view made without one makes a default chart that setChart() would
    // abandon, not delete.
    : QChartView(new QChart, parent), m_series(new QLineSeries), m_hours(makeAxis(tr("Hours"))),
      m_celsius(makeAxis(tr("°C"))) {
    QChart* ramp = chart();
    ramp->legend()->hide();
    // Axis numbers as the locale writes them ("0,5" in German), like every number the views show.
    ramp->setLocalizeNumbers(true);
    ramp->setLocale(QLocale());
    ramp->setBackgroundRoundness(0);
    ramp->setMargins(QMargins(4, 4, 4, 4));
    ramp->addSeries(m_series);
    ramp->addAxis(m_hours, Qt::AlignBottom);
    ramp->addAxis(m_celsius, Qt::AlignLeft);
    m_series->attachAxis(m_hours);
    m_series->attachAxis(m_celsius);
    m_series->setPointsVisible(true);
    m_series->setMarkerSize(3.5);
    setRenderHint(QPainter::Antialiasing);
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(tr("Firing ramp chart"));
    // The summary speaks for the drawing; the view's viewport would be a nameless stop inside it.
    readAsOneElement(this, QAccessible::Chart);
    applyPalette();
    setSchedule({});
}

void FiringRampChart::setSchedule(const std::vector<GlazeCore::FiringSegment>& schedule) {
    m_points = GlazeCore::FiringSchedule::rampPoints(schedule);
    QList<QPointF> corners;
    corners.reserve(qsizetype(m_points.size()));
    for (const auto& point : m_points)
        if (std::isfinite(point.hours) && std::isfinite(point.celsius)) corners.append({point.hours, point.celsius});
    m_series->replace(corners);
    fitAxes();
    const std::string text =
        GlazeCore::FiringSchedule::rampChartSummary(m_points, schedule, [](int places, double value) {
            // The whole-degree peak reads as a plain number ("1220"), the hours as the locale writes them.
            QLocale locale;
            if (places == 0) locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
            return formatDoublePlaces(places, value, locale).toStdString();
        });
    setAccessibleDescription(QString::fromStdString(text));
}

QString FiringRampChart::summary() const {
    return accessibleDescription();
}

void FiringRampChart::fitAxes() {
    std::vector<double> hours{0};
    std::vector<double> celsius{0};
    for (const auto& point : m_points) {
        hours.push_back(point.hours);
        celsius.push_back(point.celsius);
    }
    const auto hourRange = finiteRange(hours).value_or(std::pair{0.0, 1.0});
    const auto celsiusRange = finiteRange(celsius).value_or(std::pair{0.0, 100.0});
    // The scale follows from the schedule alone, so a tile shows the same axes each time it is opened.
    applyScale(*m_hours, RampAxisScale::of(hourRange.first, hourRange.second, 1));
    applyScale(*m_celsius, RampAxisScale::of(celsiusRange.first, celsiusRange.second, 100));
}

void FiringRampChart::applyScale(QValueAxis& axis, const RampAxisScale& scale) {
    // A count of ticks rather than an interval: the axis makes its ticks on every change, and an interval meant for
    // one range laid over a far wider one (a ramp of 0,1 °C/h) would make thousands. The scale's ends are whole
    // steps, so evenly spread ticks fall on them.
    axis.setTickType(QValueAxis::TicksFixed);
    axis.setTickCount(scale.steps() + 1);
    axis.setRange(scale.min, scale.max);
    axis.setLabelFormat(scale.labelFormat());
}

void FiringRampChart::changeEvent(QEvent* event) {
    QChartView::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange) applyPalette();
}

void FiringRampChart::applyPalette() {
    const QPalette colours = palette();
    chart()->setBackgroundBrush(colours.brush(QPalette::Base));
    chart()->setBackgroundPen(Qt::NoPen);
    setBackgroundBrush(colours.brush(QPalette::Base));
    const QFont labels = captionFont(font());
    for (QValueAxis* axis : {m_hours, m_celsius}) {
        axis->setLabelsFont(labels);
        axis->setTitleFont(labels);
        axis->setLabelsColor(colours.color(QPalette::Text));
        axis->setTitleBrush(colours.brush(QPalette::Text));
        axis->setLinePenColor(colours.color(QPalette::Mid));
        axis->setGridLineColor(colours.color(QPalette::Midlight));
    }
    QPen line(colours.color(QPalette::Highlight), 2);
    m_series->setPen(line);
    m_series->setBrush(colours.brush(QPalette::Highlight));
}

} // namespace Orza
