#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/book/FiringSchedule.h"

#include <QChartView>

#include <vector>

class QLineSeries;
class QValueAxis;

namespace Orza {

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

    std::vector<GlazeCore::FiringSchedule::RampPoint> m_points;
    QLineSeries* m_series;
    QValueAxis* m_hours;
    QValueAxis* m_celsius;
};

} // namespace Orza
