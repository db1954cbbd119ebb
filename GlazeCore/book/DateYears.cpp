#include "GlazeCore/book/DateYears.h"

#include "GlazeCore/book/BookTypes.h"

#include <algorithm>
#include <chrono>

namespace GlazeCore::DateYears {

namespace {

// Two days either side cover every time zone's offset.
constexpr std::chrono::days zoneMargin{2};
constexpr int firstWritten = 0;
constexpr int lastWritten = 9999;

} // namespace

int first() {
    using namespace std::chrono;
    const year_month_day earliest{floor<days>(Date::min()) + zoneMargin};
    return std::max(static_cast<int>(earliest.year()) + 1, firstWritten);
}

int last() {
    using namespace std::chrono;
    const year_month_day latest{floor<days>(Date::max()) - zoneMargin};
    return std::min(static_cast<int>(latest.year()) - 1, lastWritten);
}

bool holds(int year) {
    return year >= first() && year <= last();
}

} // namespace GlazeCore::DateYears
