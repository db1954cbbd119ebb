#include "GlazeCore/text/PlainNumberText.h"

#include <charconv>
#include <cmath>
#include <unicode/numberformatter.h>

namespace GlazeCore {

namespace {

const icu::number::LocalizedNumberFormatter& posixFormatter() {
    static const icu::number::LocalizedNumberFormatter formatter =
        icu::number::NumberFormatter::withLocale(icu::Locale("en_US_POSIX"))
            .precision(icu::number::Precision::minMaxFraction(0, 3))
            .roundingMode(UNUM_ROUND_HALFEVEN)
            .grouping(UNUM_GROUPING_OFF)
            .notation(icu::number::Notation::simple());
    return formatter;
}

// Formatting from ICU is already locale-free here, but keep it to ASCII digits and signs.
std::string fallbackText(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
    std::string text(buffer, result.ptr);
    while (!text.empty() && text.back() == '0')
        text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text;
}

} // namespace

std::string plainNumberText(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "∞" : "-∞";
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString formatted = posixFormatter().formatDouble(value, status).toString(status);
    if (U_FAILURE(status)) return fallbackText(value);
    std::string text;
    formatted.toUTF8String(text);
    return text;
}

std::string bookNumberText(double value) {
    if (std::isnan(value)) return "not a number";
    if (std::isinf(value)) return value > 0 ? "infinite" : "minus infinite";
    if (std::fabs(value) < 10'000'000) return plainNumberText(value);
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 3);
    return std::string(buffer, result.ptr);
}

std::string integerText(std::int64_t value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

} // namespace GlazeCore
