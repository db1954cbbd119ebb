#include "GlazeCore/search/SearchDates.h"

#include "GlazeCore/text/UnicodeText.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <unicode/basictz.h>
#include <unicode/calendar.h>
#include <unicode/datefmt.h>
#include <unicode/fieldpos.h>
#include <unicode/gregocal.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>
#include <unicode/tztrans.h>
#include <unicode/unistr.h>

namespace GlazeCore {

namespace {

constexpr std::int64_t dayMilliseconds = 86'400'000;
// 15 October 1582, ICU's default change from the Julian to the Gregorian calendar, in days from 1970.
constexpr std::int64_t firstGregorianDay = -141'427;
// About 55 years either side of the first day a search meets: 160 kB of indexes.
constexpr std::int64_t dayWindow = 20'000;
constexpr double forever = std::numeric_limits<double>::infinity();

// A thread meets one or two zones and locales in practice; the bounds only guard against a caller cycling them.
constexpr std::size_t threadCacheLimit = 32;
constexpr std::size_t keptDaysLimit = 100'000;

constexpr std::int32_t unknownOffset = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t mixedOffset = unknownOffset + 1; // a transition falls inside the day

std::int64_t floorDivide(std::int64_t value, std::int64_t divisor) {
    const std::int64_t quotient = value / divisor;
    return value % divisor < 0 ? quotient - 1 : quotient;
}

UDate icuDate(Date date) {
    return std::chrono::duration<double, std::milli>(date.time_since_epoch()).count();
}

// An unknown id gives ICU's "Etc/Unknown", which behaves as UTC.
std::unique_ptr<icu::TimeZone> makeZone(const std::string& timeZone) {
    return std::unique_ptr<icu::TimeZone>(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(timeZone)));
}

std::unique_ptr<icu::Calendar> makeGregorian(const icu::TimeZone& zone) {
    UErrorCode status = U_ZERO_ERROR;
    auto calendar = std::make_unique<icu::GregorianCalendar>(zone, icu::Locale::getRoot(), status);
    if (U_FAILURE(status)) return nullptr;
    return calendar;
}

std::string yearMonthDayOf(int year, unsigned month, unsigned day) {
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", year, month, day);
    return text;
}

std::string yearMonthDay(icu::Calendar* calendar, UDate date) {
    int year = 0;
    unsigned month = 0, day = 0;
    if (calendar != nullptr) {
        UErrorCode status = U_ZERO_ERROR;
        calendar->setTime(date, status);
        const auto field = [&](UCalendarDateFields which, int offset) {
            UErrorCode fieldStatus = status;
            const int32_t value = calendar->get(which, fieldStatus);
            return U_FAILURE(fieldStatus) ? 0 : value + offset;
        };
        year = field(UCAL_YEAR, 0);
        month = static_cast<unsigned>(field(UCAL_MONTH, 1)); // ICU counts months from 0
        day = static_cast<unsigned>(field(UCAL_DATE, 0));
    }
    return yearMonthDayOf(year, month, day);
}

} // namespace

std::string yearMonthDayText(Date date, const std::string& timeZone) {
    // Calendars are not safe to share between threads, so each thread keeps its own per zone.
    thread_local std::unordered_map<std::string, std::unique_ptr<icu::Calendar>> calendars;
    auto found = calendars.find(timeZone);
    if (found == calendars.end()) {
        if (calendars.size() >= threadCacheLimit) calendars.clear();
        found = calendars.emplace(timeZone, makeGregorian(*makeZone(timeZone))).first;
    }
    return yearMonthDay(found->second.get(), icuDate(date));
}

SearchDates& SearchDates::forThread(const std::string& timeZone, const std::string& locale) {
    thread_local std::map<std::pair<std::string, std::string>, std::unique_ptr<SearchDates>> instances;
    std::unique_ptr<SearchDates>& instance = instances[{timeZone, locale}];
    if (instance && instance->dayCount() > keptDaysLimit) instance.reset();
    if (!instance) {
        if (instances.size() > threadCacheLimit) {
            instances.clear();
            return forThread(timeZone, locale);
        }
        instance = std::make_unique<SearchDates>(timeZone, locale);
    }
    return *instance;
}

SearchDates::SearchDates(const std::string& timeZone, const std::string& locale) : m_zone(makeZone(timeZone)) {
    m_calendar = makeGregorian(*m_zone);
    UErrorCode status = U_ZERO_ERROR;
    // Day, month and year as numbers in the locale's order and separators; the locale's own calendar
    // system, the user's time zone.
    m_format.reset(
        icu::DateFormat::createInstanceForSkeleton(icu::UnicodeString(u"yMd"), icu::Locale(locale.c_str()), status));
    if (U_FAILURE(status)) m_format.reset();
    if (m_format) {
        m_format->setTimeZone(*m_zone);
        // Formatting a UDate clones the formatter's calendar on every call; one kept copy does the same work.
        m_formatCalendar.reset(m_format->getCalendar()->clone());
    }
}

SearchDates::~SearchDates() = default;

const SearchDates::Texts& SearchDates::of(Date date) {
    const UDate at = icuDate(date);
    // Whole milliseconds are enough to know the day; integer division spares a floor() per tile.
    const std::int64_t milliseconds = std::chrono::floor<std::chrono::milliseconds>(date.time_since_epoch()).count();
    const auto offset = offsetAt(at, floorDivide(milliseconds, dayMilliseconds));
    if (!offset) {
        m_uncached = make(at, std::nullopt);
        return m_uncached;
    }
    const std::int64_t day = floorDivide(milliseconds + *offset, dayMilliseconds);
    return ofDay(day, at);
}

const SearchDates::Texts& SearchDates::ofDay(std::int64_t day, double at) {
    if (m_dayIndex.empty()) {
        m_firstDay = day;
        m_dayIndex.assign(2 * dayWindow, 0);
    }
    const std::int64_t slot = day - m_firstDay + dayWindow;
    if (slot < 0 || slot >= 2 * dayWindow) {
        auto found = m_farDays.find(day);
        if (found == m_farDays.end()) found = m_farDays.emplace(day, make(at, day)).first;
        return found->second;
    }
    std::int32_t& index = m_dayIndex[static_cast<std::size_t>(slot)];
    if (index == 0) {
        m_texts.push_back(make(at, day));
        index = static_cast<std::int32_t>(m_texts.size());
    }
    return m_texts[static_cast<std::size_t>(index - 1)];
}

std::optional<std::int32_t> SearchDates::offsetAt(double at, std::int64_t utcDay) {
    if (m_utcDayOffsets.empty()) {
        m_firstUTCDay = utcDay;
        m_utcDayOffsets.assign(2 * dayWindow, unknownOffset);
    }
    // Most UTC days lie wholly between two transitions; their offset is then read by index.
    const std::int64_t slot = utcDay - m_firstUTCDay + dayWindow;
    if (slot >= 0 && slot < 2 * dayWindow) {
        std::int32_t& known = m_utcDayOffsets[static_cast<std::size_t>(slot)];
        if (known == unknownOffset) {
            const double dayStart = static_cast<double>(utcDay * dayMilliseconds);
            const Interval* interval = intervalAt(dayStart);
            const bool wholeDay = interval != nullptr && interval->end >= dayStart + dayMilliseconds;
            known = wholeDay ? interval->offset : mixedOffset;
        }
        if (known != mixedOffset) return known;
    }
    if (const Interval* interval = intervalAt(at)) return interval->offset;
    UErrorCode status = U_ZERO_ERROR;
    int32_t rawOffset = 0, dstOffset = 0;
    m_zone->getOffset(at, false, rawOffset, dstOffset, status);
    if (U_FAILURE(status)) return std::nullopt;
    return rawOffset + dstOffset;
}

const SearchDates::Interval* SearchDates::intervalAt(double at) {
    auto next = std::upper_bound(m_intervals.begin(), m_intervals.end(), at,
                                 [](double value, const Interval& interval) { return value < interval.start; });
    if (next != m_intervals.begin() && at < std::prev(next)->end) return &*std::prev(next);

    // Between two transitions the offset cannot change.
    const auto* basic = dynamic_cast<const icu::BasicTimeZone*>(m_zone.get());
    if (basic == nullptr) return nullptr;
    UErrorCode status = U_ZERO_ERROR;
    int32_t rawOffset = 0, dstOffset = 0;
    m_zone->getOffset(at, false, rawOffset, dstOffset, status);
    if (U_FAILURE(status)) return nullptr;
    icu::TimeZoneTransition transition;
    const double start = basic->getPreviousTransition(at, true, transition) ? transition.getTime() : -forever;
    const double end = basic->getNextTransition(at, false, transition) ? transition.getTime() : forever;
    if (!(start <= at && at < end)) return nullptr;
    return &*m_intervals.insert(next, Interval{start, end, rawOffset + dstOffset});
}

SearchDates::Texts SearchDates::make(double at, std::optional<std::int64_t> localDay) {
    Texts texts;
    // After the Gregorian reform the civil calendar of <chrono> gives the same fields as ICU's, without
    // setting a calendar per day; ICU switches to the Julian calendar before it.
    if (localDay && *localDay >= firstGregorianDay) {
        const std::chrono::year_month_day civil{std::chrono::sys_days{std::chrono::days{*localDay}}};
        texts.yearMonthDay = yearMonthDayOf(static_cast<int>(civil.year()), static_cast<unsigned>(civil.month()),
                                            static_cast<unsigned>(civil.day()));
    } else {
        texts.yearMonthDay = yearMonthDay(m_calendar.get(), at);
    }
    if (m_format && m_formatCalendar) {
        UErrorCode status = U_ZERO_ERROR;
        m_formatCalendar->setTime(at, status);
        icu::UnicodeString formatted;
        icu::FieldPosition position;
        if (U_SUCCESS(status)) m_format->format(*m_formatCalendar, formatted, position);
        formatted.toUTF8String(texts.localeDate);
        texts.localeDateFolded = UnicodeText::fold(texts.localeDate);
    }
    return texts;
}

} // namespace GlazeCore
