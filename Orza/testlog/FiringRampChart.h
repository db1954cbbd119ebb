#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/book/FiringSchedule.h"

#include <QChartView>

#include <QStringList>

#include <vector>

class QLineSeries;
class QValueAxis;

namespace Orza {

/// An axis from a whole number of steps at or below the lowest value to one at or above the highest, the
/// step 1, 2 or 5 times a power of ten and at most six steps long; labels carry the step's decimals, so no
/// two read the same.
struct RampAxisScale {
    double min = 0;
    double max = 1;
    double step = 1;
    int decimals = 0;

    /// The scale of values from `low` to `high`, spread over at least `least` (a range of none gets room).
    static RampAxisScale of(double low, double high, double least);
    /// The steps from min to max: one tick fewer than the labels.
    int steps() const;
    /// The tick labels from min to max, as the current locale writes them.
    QStringList labels() const;
    /// The axis's format for its labels, which its numbers follow.
    QString labelFormat() const;

private:
    /// Whether the labels are written with all their digits; past a few million, as a power of ten.
    bool inFullDigits() const;
};

/**
 * The chart of kiln temperature against time for a firing schedule: one line through the ramp's corners,
 * each marked with a point, over the axes "Hours" and "°C". Screen readers meet it as one element, the
 * "Firing ramp chart", whose description is the spoken summary of the ramp. It sets no height of its own.
 */
class FiringRampChart final : public QChartView {
    Q_OBJECT
public:
    explicit FiringRampChart(QWidget* parent = nullptr);

    /// Draws this schedule from now on.
    void setSchedule(const std::vector<GlazeCore::FiringSegment>& schedule);

    const std::vector<GlazeCore::FiringSchedule::RampPoint>& points() const { return m_points; }
    QLineSeries* series() const { return m_series; }
    QValueAxis* hoursAxis() const { return m_hours; }
    QValueAxis* celsiusAxis() const { return m_celsius; }
    /// The chart's accessible description.
    QString summary() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void applyPalette();
    void fitAxes();
    static void applyScale(QValueAxis& axis, const RampAxisScale& scale);

    std::vector<GlazeCore::FiringSchedule::RampPoint> m_points;
    QLineSeries* m_series;
    QValueAxis* m_hours;
    QValueAxis* m_celsius;
};

} // namespace Orza
