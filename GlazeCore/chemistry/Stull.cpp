#include "GlazeCore/chemistry/Stull.h"

#include <cmath>

namespace GlazeCore::Stull {

namespace {

constexpr std::array<std::string_view, 7> rawValues = {"matte",   "gloss",   "semimatte", "underfired",
                                                       "crazing", "unfused", "unknown"};

// Spans of the axes as the double subtractions 7.2 - 0.6 and 1.0 - 0.1 give them.
constexpr double siO2Span = 6.6000000000000005;
constexpr double al2O3Span = 0.9;
constexpr double noticeableShare = 0.04;

} // namespace

// The constants are the exact doubles of the chart's published corner points; subtracting is written as
// adding the negated constant so every build rounds the same way.
double unfusedLine(double x) noexcept {
    return (x + (-0.6)) * 0.25 + 0.44;
}

double matteLine(double x) noexcept {
    return (x + (-0.6)) * 0.25 + 0.1;
}

double semimatteLine(double x) noexcept {
    return (x + (-0.6)) * 0.2 + 0.1;
}

double underfiredLine(double x) noexcept {
    return (x + (-2.4)) * 0.108 + 0.1;
}

double crazingLineRight(double x) noexcept {
    return (x + (-3.0)) * 0.05833333333333334 + 0.23;
}

double crazingLine(double x) noexcept {
    if (x < 2.4) return (x + (-0.6)) / -1.7999999999999998 * 0.05499999999999999 + 0.25;
    return crazingLineRight(x);
}

StullRegion region(double x, double y) noexcept {
    if (!std::isfinite(x)) return StullRegion::unknown;
    if (x > 7.2 || x < 0.6 || !std::isfinite(y) || y < 0.1 || y > 1.0) return StullRegion::unknown;
    if (y > unfusedLine(x)) return StullRegion::unfused;
    if (y > matteLine(x)) return StullRegion::matte;
    if (y > semimatteLine(x)) return StullRegion::semimatte;
    if (x >= 2.4 && y < underfiredLine(x)) return StullRegion::underfired;
    if (y < crazingLine(x)) return StullRegion::crazing;
    return StullRegion::gloss;
}

bool isNoticeableMove(double siO2A, double al2O3A, double siO2B, double al2O3B) noexcept {
    return std::fabs(siO2B - siO2A) / siO2Span > noticeableShare ||
           std::fabs(al2O3B - al2O3A) / al2O3Span > noticeableShare;
}

const std::array<StullLabelAnchor, 6>& labelAnchors() {
    static const std::array<StullLabelAnchor, 6> anchors = {{
        {StullRegion::unfused, 1.3, 0.86},
        {StullRegion::matte, 2.3, 0.7},
        {StullRegion::semimatte, 4.4, 0.93},
        {StullRegion::gloss, 4.6, 0.52},
        {StullRegion::underfired, 6.3, 0.3},
        {StullRegion::crazing, 1.5, 0.15},
    }};
    return anchors;
}

std::string_view rawValue(StullRegion region) {
    return rawValues[static_cast<std::size_t>(region)];
}

std::optional<StullRegion> regionFromRaw(std::string_view text) {
    for (std::size_t i = 0; i < rawValues.size(); ++i)
        if (rawValues[i] == text) return static_cast<StullRegion>(i);
    return std::nullopt;
}

} // namespace GlazeCore::Stull

std::size_t
std::hash<GlazeCore::StullLabelAnchor>::operator()(const GlazeCore::StullLabelAnchor& anchor) const noexcept {
    // 0 and -0 compare equal, so they must hash alike.
    const auto hashDouble = [](double v) { return std::hash<double>{}(v == 0 ? 0.0 : v); };
    std::size_t seed = std::hash<GlazeCore::StullRegion>{}(anchor.region);
    for (const std::size_t h : {hashDouble(anchor.siO2), hashDouble(anchor.al2O3)})
        seed ^= h + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
    return seed;
}
