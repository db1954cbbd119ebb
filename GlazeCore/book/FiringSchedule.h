#pragma once

#include "GlazeCore/book/BookTypes.h"

#include <functional>
#include <string>
#include <vector>

/// A tile's firing schedule as the test log edits and draws it: the default schedule, the next segment to
/// add, the limits a book file sets, and the ramp of temperature against time with its spoken summary.
namespace GlazeCore::FiringSchedule {

/// Every firing starts from room temperature at time 0.
inline constexpr double startCelsius = 20;

/// One corner of the drawn ramp; `id` is its position in the list.
struct RampPoint {
    int id = 0;
    double hours = 0;
    double celsius = 0;
    friend bool operator==(const RampPoint&, const RampPoint&) = default;
};

/// 150 °C/h to 600 °C, 220 °C/h to 1100 °C, 60 °C/h to 1220 °C with a 10-minute hold.
const std::vector<FiringSegment>& cone6DefaultSchedule();

/// The start point, then for each segment the end of its ramp and, after a positive hold, the end of the
/// hold. A rate of 0 or not a number takes no time; a negative rate or a falling target still advances.
std::vector<RampPoint> rampPoints(const std::vector<FiringSegment>& schedule);
/// The hours of the last point: the whole firing.
double totalHours(const std::vector<RampPoint>& points);

/// What Add Segment appends: 100 °C/h to 700 °C on an empty schedule, else the last rate to 100 °C above
/// the last target, without a hold.
FiringSegment nextSegment(const std::vector<FiringSegment>& schedule);
/// False once the schedule holds as many segments as a book file allows, or when the next segment's
/// target would be more than a book file can hold.
bool canAddSegment(const std::vector<FiringSegment>& schedule);
/// A rate, target or hold a book file can hold: finite and within its magnitude limit.
bool isStorableValue(double value);

/// Writes a number with exactly `places` fraction digits, as the user interface shows numbers.
using PlacesFormat = std::function<std::string(int places, double value)>;
/// "3 segments. Peak 1220 degrees Celsius at 8.1 hours. Total 8.3 hours." The peak is the first point
/// at the highest temperature.
std::string rampChartSummary(const std::vector<RampPoint>& points, const std::vector<FiringSegment>& schedule,
                             const PlacesFormat& format);

} // namespace GlazeCore::FiringSchedule
