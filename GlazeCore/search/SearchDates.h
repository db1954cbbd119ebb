#pragma once

#include "GlazeCore/book/BookTypes.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class Calendar;
class DateFormat;
class TimeZone;
U_NAMESPACE_END

namespace GlazeCore {

/// "%04d-%02d-%02d" of the Gregorian year, month and day of `date` in the ICU time zone `timeZone`
/// (an unknown id reads as UTC); a field the calendar cannot give counts as 0.
std::string yearMonthDayText(Date date, const std::string& timeZone);

/// The two date entries of a tile's search text, made with one calendar and one formatter for a whole
/// search. Both depend only on the local day, so each day is formatted once; the zone's offset is read
/// from the few offset intervals the search has met, not asked of ICU for every tile.
class SearchDates {
public:
    struct Texts {
        std::string yearMonthDay;
        /// The locale's numeric date (day, month and year as numbers), as shown and folded.
        std::string localeDate;
        std::string localeDateFolded;
    };

    SearchDates(const std::string& timeZone, const std::string& locale);
    ~SearchDates();
    SearchDates(const SearchDates&) = delete;
    SearchDates& operator=(const SearchDates&) = delete;

    /// The calling thread's own instance for this time zone and locale, kept for its later searches: making
    /// the ICU zone, calendar and date format costs far more than a search of a small log. A reference stays
    /// valid until the thread's next call.
    static SearchDates& forThread(const std::string& timeZone, const std::string& locale);

    /// The texts of the date's local day; valid until the next call.
    const Texts& of(Date date);

private:
    /// Days whose texts are kept; a thread's instance is made afresh beyond it.
    std::size_t dayCount() const { return m_texts.size() + m_farDays.size(); }

    struct Interval {
        double start; // ICU milliseconds, inclusive
        double end;   // exclusive
        std::int32_t offset;
    };

    std::optional<std::int32_t> offsetAt(double at, std::int64_t utcDay);
    /// The interval holding `at`, found or added; none when the zone cannot tell its transitions.
    const Interval* intervalAt(double at);
    Texts make(double at, std::optional<std::int64_t> localDay);
    const Texts& ofDay(std::int64_t day, double at);

    std::unique_ptr<icu::TimeZone> m_zone;
    std::unique_ptr<icu::Calendar> m_calendar;
    std::unique_ptr<icu::DateFormat> m_format;
    std::unique_ptr<icu::Calendar> m_formatCalendar;
    std::vector<Interval> m_intervals; // sorted, disjoint
    std::int64_t m_firstUTCDay = 0;
    std::vector<std::int32_t> m_utcDayOffsets; // UTC day - m_firstUTCDay + window → offset, or unknown or mixed
    // Days near the first one seen are found by index, the rest by hash.
    std::int64_t m_firstDay = 0;
    std::vector<std::int32_t> m_dayIndex; // day - m_firstDay + window → index into m_texts + 1, or 0
    std::vector<Texts> m_texts;
    std::unordered_map<std::int64_t, Texts> m_farDays;
    Texts m_uncached;
};

} // namespace GlazeCore
