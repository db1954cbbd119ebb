#include "GlazeCore/book/FiringSchedule.h"

#include "GlazeCore/book/GlazeBookValidation.h"

#include <cmath>

namespace GlazeCore::FiringSchedule {

namespace Limits = GlazeBookValidation;

const std::vector<FiringSegment>& cone6DefaultSchedule() {
    static const std::vector<FiringSegment> schedule{{150, 600, 0}, {220, 1100, 0}, {60, 1220, 10}};
    return schedule;
}

std::vector<RampPoint> rampPoints(const std::vector<FiringSegment>& schedule) {
    std::vector<RampPoint> points{{0, 0, startCelsius}};
    double hours = 0;
    double previous = startCelsius;
    const auto append = [&](double celsius) { points.push_back({int(points.size()), hours, celsius}); };
    for (const FiringSegment& segment : schedule) {
        // A rate of 0 or NaN would divide by nothing: that ramp takes no time.
        if (segment.ratePerHour != 0 && !std::isnan(segment.ratePerHour))
            hours += std::fabs((segment.targetC - previous) / segment.ratePerHour);
        append(segment.targetC);
        if (segment.holdMinutes > 0) {
            hours += segment.holdMinutes / 60;
            append(segment.targetC);
        }
        previous = segment.targetC;
    }
    return points;
}

double totalHours(const std::vector<RampPoint>& points) {
    return points.empty() ? 0 : points.back().hours;
}

FiringSegment nextSegment(const std::vector<FiringSegment>& schedule) {
    if (schedule.empty()) return {100, 700, 0};
    const FiringSegment& last = schedule.back();
    return {last.ratePerHour, last.targetC + 100, 0};
}

bool canAddSegment(const std::vector<FiringSegment>& schedule) {
    if (schedule.size() >= std::size_t(Limits::maxSegmentsPerTile)) return false;
    // A last target near the limit would put the next one beyond what the book can hold.
    return isStorableValue(nextSegment(schedule).targetC);
}

bool isStorableValue(double value) {
    return Limits::withinLimit(value, Limits::maxFiringValue);
}

std::string rampChartSummary(const std::vector<RampPoint>& points, const std::vector<FiringSegment>& schedule,
                             const PlacesFormat& format) {
    RampPoint peak{0, 0, startCelsius};
    if (!points.empty()) peak = points.front();
    for (const RampPoint& point : points)
        if (point.celsius > peak.celsius) peak = point;
    return std::to_string(schedule.size()) + " segments. Peak " + format(0, peak.celsius) + " degrees Celsius at " +
           format(1, peak.hours) + " hours. Total " + format(1, totalHours(points)) + " hours.";
}

} // namespace GlazeCore::FiringSchedule
