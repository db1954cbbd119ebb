#include "GlazeCore/layout/WindowLayout.h"

#include "GlazeCore/core/Rounding.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <vector>

namespace GlazeCore::WindowLayout {

namespace {

// NaN counts as "not above 0" so that no window is ever sized from it.
bool isUsable(const std::optional<LayoutSize>& size) {
    return size && size->width > 0 && size->height > 0;
}

std::optional<double> number(std::string_view text) {
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

} // namespace

LayoutSize defaultWindowSize(std::optional<LayoutSize> visibleFrame) {
    if (!isUsable(visibleFrame)) return largestDefaultWindowSize;
    return {std::min(std::max(visibleFrame->width - windowWidthMargin, smallestDefaultWindowSize.width),
                     largestDefaultWindowSize.width),
            std::min(std::max(visibleFrame->height - windowHeightMargin, smallestDefaultWindowSize.height),
                     largestDefaultWindowSize.height)};
}

LayoutSize sheetSize(std::optional<LayoutSize> visibleFrame) {
    if (!isUsable(visibleFrame)) return largestSheetSize;
    return {
        std::min(std::max(visibleFrame->width - windowWidthMargin, smallestSheetSize.width), largestSheetSize.width),
        std::min(std::max((visibleFrame->height - sheetHeightMargin) - windowHeightMargin, smallestSheetSize.height),
                 largestSheetSize.height)};
}

double sidebarWidth(double width) {
    if (std::isnan(width)) return chemistryPaneMinimumWidth;
    const double share = roundHalfAwayFromZero(0.4 * width);
    const double leftForLines = (width - 1) - recipeMainMinimumWidth;
    return std::max(chemistryPaneMinimumWidth, std::min({chemistryPaneMaximumWidth, share, leftForLines}));
}

double tableHeight(int rowCount) {
    return std::clamp(rowCount, 2, 8) * tableRowHeight + tableBaseHeight;
}

double compactTableHeight(int rowCount) {
    return (rowCount >= 3 ? 3 : 2) * tableRowHeight + tableBaseHeight;
}

LayoutSize parseSize(std::optional<std::string_view> text) {
    if (!text) return {0, 0};
    std::string lowered(*text);
    // Only "X" matters for the split; number letters (e, inf) parse in either case.
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    std::vector<std::string_view> fields;
    std::string_view rest(lowered);
    while (!rest.empty()) {
        const std::size_t cut = rest.find('x');
        const std::string_view field = rest.substr(0, cut);
        if (!field.empty()) fields.push_back(field);
        if (cut == std::string_view::npos) break;
        rest.remove_prefix(cut + 1);
    }
    if (fields.size() != 2) return {0, 0};
    const auto width = number(fields[0]);
    const auto height = number(fields[1]);
    // An infinite stored size ("infx800") would size a window without bound; treat it as unusable.
    if (!width || !height || !std::isfinite(*width) || !std::isfinite(*height)) return {0, 0};
    if (*width > 0 && *height > 0) return {*width, *height};
    return {0, 0};
}

} // namespace GlazeCore::WindowLayout
