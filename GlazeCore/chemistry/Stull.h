#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>

namespace GlazeCore {

/// Surface regions of Stull's chart (UMF SiO2 across, UMF Al2O3 up).
enum class StullRegion { matte, gloss, semimatte, underfired, crazing, unfused, unknown };

/// Where the chart writes a region's name.
struct StullLabelAnchor {
    StullRegion region{};
    double siO2 = 0;
    double al2O3 = 0;

    friend bool operator==(const StullLabelAnchor&, const StullLabelAnchor&) = default;
};

/// The one classifier of Stull points: the chart's raster, the sidebar dot and the blend sheet all use it,
/// so what is painted and what is reported agree.
namespace Stull {

/// A closed range of one chart axis.
struct AxisRange {
    double lowerBound;
    double upperBound;

    constexpr bool contains(double value) const { return lowerBound <= value && value <= upperBound; }
};

inline constexpr AxisRange siO2Range{0.6, 7.2};
inline constexpr AxisRange al2O3Range{0.1, 1.0};

/// The region of a point; unknown outside the chart or for values that are not finite.
/// Allocates nothing: the chart classifies every raster cell with it.
StullRegion region(double siO2, double al2O3) noexcept;

/// True when the points are more than 4 % of the chart's span apart on either axis.
bool isNoticeableMove(double siO2A, double al2O3A, double siO2B, double al2O3B) noexcept;

/// The six anchors: unfused, matte, semimatte, gloss, underfired, crazing.
const std::array<StullLabelAnchor, 6>& labelAnchors();

/// Boundary lines: the Al2O3 value of each line at SiO2 = x.
double unfusedLine(double x) noexcept;
double matteLine(double x) noexcept;
double semimatteLine(double x) noexcept;
double underfiredLine(double x) noexcept;
/// Falls to (2.4, 0.195), then rises along crazingLineRight.
double crazingLine(double x) noexcept;
double crazingLineRight(double x) noexcept;

/// The region's stored text, equal to its case name.
std::string_view rawValue(StullRegion region);
/// Exact match of one of the seven texts; anything else gives none.
std::optional<StullRegion> regionFromRaw(std::string_view text);

} // namespace Stull

} // namespace GlazeCore

template <> struct std::hash<GlazeCore::StullRegion> {
    std::size_t operator()(GlazeCore::StullRegion region) const noexcept {
        return std::hash<std::string_view>{}(GlazeCore::Stull::rawValue(region));
    }
};

template <> struct std::hash<GlazeCore::StullLabelAnchor> {
    std::size_t operator()(const GlazeCore::StullLabelAnchor& anchor) const noexcept;
};
