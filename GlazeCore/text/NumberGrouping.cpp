#include "GlazeCore/text/NumberGrouping.h"

#include <unicode/uchar.h>

#include <vector>

namespace GlazeCore::NumberGrouping {

namespace {

// The marks the lenient parser takes for one another: a comma-like and a full-stop-like family, and the
// separators that only ever group (spaces, apostrophes, the Arabic thousands separator).
enum class Family { none, comma, fullStop, groupingOnly };

Family familyOf(char32_t c) {
    switch (c) {
    case U',':
    case U'\u060C':
    case U'\u066B':
    case U'\u3001':
    case U'\uFE10':
    case U'\uFE11':
    case U'\uFE50':
    case U'\uFE51':
    case U'\uFF0C':
    case U'\uFF64':
        return Family::comma;
    case U'.':
    case U'\u2024':
    case U'\u3002':
    case U'\uFE12':
    case U'\uFE52':
    case U'\uFF0E':
    case U'\uFF61':
        return Family::fullStop;
    case U'\'':
    case U'\u066C':
    case U'\u2018':
    case U'\u2019':
    case U'\uFF07':
        return Family::groupingOnly;
    default:
        return u_charType(static_cast<UChar32>(c)) == U_SPACE_SEPARATOR ? Family::groupingOnly : Family::none;
    }
}

bool isSpace(char32_t c) {
    return u_charType(static_cast<UChar32>(c)) == U_SPACE_SEPARATOR;
}

enum class Role { digit, decimal, grouping, ambiguous, other };

/// What a character is in this locale's numbers.
Role roleOf(char32_t c, const Rules& rules) {
    if (u_isdigit(static_cast<UChar32>(c))) return Role::digit;
    const Family family = familyOf(c);
    const auto sameFamily = [&](char32_t separator) {
        const Family own = familyOf(separator);
        return own != Family::none && own != Family::groupingOnly && own == family;
    };
    if (c == rules.decimalSeparator || sameFamily(rules.decimalSeparator)) return Role::decimal;
    if (c == rules.groupingSeparator || sameFamily(rules.groupingSeparator) || family == Family::groupingOnly)
        return Role::grouping;
    // A comma or full stop the locale uses for nothing: someone else's decimal separator, most likely.
    if (family != Family::none) return Role::ambiguous;
    return Role::other;
}

bool groupSizesFit(const std::vector<int>& groups, const Rules& rules) {
    if (groups.size() < 2) return true;
    if (rules.primarySize <= 0) return false;
    const int further = rules.secondarySize > 0 ? rules.secondarySize : rules.primarySize;
    if (groups.front() < 1 || groups.front() > further) return false;
    for (std::size_t i = 1; i + 1 < groups.size(); ++i)
        if (groups[i] != further) return false;
    return groups.back() == rules.primarySize;
}

bool isZero(char32_t digit) {
    return u_charDigitValue(static_cast<UChar32>(digit)) == 0;
}

} // namespace

bool isValid(std::u32string_view text, const Rules& rules) {
    std::vector<int> groups; // digit runs of the integer part, split at grouping separators
    bool inIntegerPart = true;
    constexpr char32_t none = 0;
    char32_t pendingSeparator = none; // a grouping separator not yet followed by a digit
    bool ledByZero = false;           // the first digit is a zero

    const auto endIntegerPart = [&] {
        inIntegerPart = false;
        // "5," or "1.000." leaves a separator with nothing to group; a space there is only a space.
        return pendingSeparator == none || isSpace(pendingSeparator);
    };

    for (const char32_t c : text) {
        const Role role = roleOf(c, rules);
        if (role == Role::ambiguous) return false;
        if (!inIntegerPart) {
            if (role == Role::grouping) return false;
            continue;
        }
        switch (role) {
        case Role::digit:
            if (groups.empty()) ledByZero = isZero(c);
            if (groups.empty() || pendingSeparator != none) groups.push_back(0);
            pendingSeparator = none;
            ++groups.back();
            break;
        case Role::grouping:
            if (groups.empty()) {
                // ",5" is no number; "- 5" is a sign and a space.
                if (!isSpace(c)) return false;
            } else {
                if (pendingSeparator != none) return false; // two separators in a row
                pendingSeparator = c;
            }
            break;
        case Role::decimal:
            if (!endIntegerPart()) return false;
            break;
        case Role::other:
            // A sign before the digits; after them an exponent or anything else ends the integer part.
            if (!groups.empty() && !endIntegerPart()) return false;
            break;
        case Role::ambiguous:
            break;
        }
    }
    if (inIntegerPart && !endIntegerPart()) return false;
    // Nobody groups a leading zero: "0.125" in German is an eighth written the English way, not 125.
    if (groups.size() >= 2 && ledByZero) return false;
    return groupSizesFit(groups, rules);
}

} // namespace GlazeCore::NumberGrouping
