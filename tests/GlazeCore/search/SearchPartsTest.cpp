#include "GlazeCore/search/SearchDates.h"
#include "GlazeCore/search/SearchFold.h"
#include "GlazeCore/text/TextWork.h"
#include "GlazeCore/text/UnicodeText.h"
#include "support/ReferenceSearch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <random>
#include <thread>

using namespace GlazeCore;

TEST(SearchFoldParts, equalsTheWholeTextFold) {
    // Mixed texts cut at every length, so that the word-wise ASCII path meets its ends and the
    // non-ASCII pieces at every offset.
    const std::vector<std::string> texts{
        "Fired to 1220 \u00B0C, GLA\u00C7URE \u00C9PAISSE and THICK rims",
        "E\u0301MAIL with combining marks A\u0300 B\u0327 and =\u0338 and \u0130stanbul STRASSE stra\u00DFe",
        "\uFF34\uFF0D\uFF10\uFF10\uFF17 full-width T-007, \uFF76\uFF9E half-width kana, \u3000ideographic space",
        "\u0393\u039B\u0391\u03A5\u039A\u039F \u0413\u041B\u0410\u0417\u0423\u0420\u042C \u91C9\u85AC \uD55C\uAE00 "
        "\u1112\u1161\u11AB mixed",
        "bad \xC3( bytes \xFF and \xE2\x82 cut",
        "ABCDEFGHIJKLMNOPQRSTUVWXYZ@[`{ abcdefghijklmnopqrstuvwxyz 0123456789 \x7F",
    };
    SearchFold fold;
    for (const std::string& text : texts)
        for (std::size_t length = 0; length <= text.size(); ++length) {
            const std::string_view part(text.data(), length);
            std::string out = "prefix ";
            fold.append(out, part);
            ASSERT_EQ(out, "prefix " + UnicodeText::fold(part)) << text << " cut at " << length;
        }
    std::string scratch;
    EXPECT_TRUE(fold.foldsTo("\u00C9MAIL", "email", scratch));
    EXPECT_FALSE(fold.foldsTo("EMAILS", "email", scratch));
}

// Folding works in proportion to the text: four times the text is about four times the work, counted (characters
// gone through, bytes moved), never timed, so a busy machine cannot fail it and a quadratic step, sixteen times
// the work, cannot pass. German prose has an ASCII run between every two umlauts; the mixed text no run longer
// than one character; the last piles two kinds of accent, which canonical ordering sorts, on one letter.
TEST(SearchFoldParts, foldsLongTextsOfAnyScriptInLinearWork) {
    const auto repeated = [](std::string start, std::string_view part, std::size_t times) {
        for (std::size_t i = 0; i < times; ++i)
            start += part;
        return start;
    };
    const std::function<std::string(std::size_t)> texts[] = {
        [&](std::size_t k) {
            return repeated("", "Die Glasur l\u00E4uft \u00FCber den Fu\u00DF, gr\u00F6\u00DFere Blasen. ", k * 4096);
        },
        [&](std::size_t k) { return repeated("", "\u00E4\u6F22\U0001F525a\u0301 ", k * 16384); },
        [&](std::size_t k) { return repeated("Glasur e", "\u0301\u0316", k * 4096); },
    };
    const auto workToFold = [](const std::string& text) {
        SearchFold fold;
        const std::uint64_t before = TextWork::done();
        const std::string folded = fold(text);
        const std::uint64_t work = TextWork::done() - before;
        EXPECT_TRUE(folded == UnicodeText::fold(text));
        return work;
    };
    EXPECT_EQ(UnicodeText::fold(texts[2](1)), "glasur e");
    for (const auto& text : texts) {
        const std::uint64_t once = workToFold(text(1)), fourTimes = workToFold(text(4));
        EXPECT_GT(fourTimes, 3 * once);
        EXPECT_LT(fourTimes, 6 * once) << text(1).substr(0, 20);
    }
}

namespace {

using OrzaTest::ReferenceSearch::LocaleDate;

Date at(int y, unsigned m, unsigned d, std::chrono::minutes time) {
    using namespace std::chrono;
    return time_point_cast<Date::duration>(sys_days{year{y} / month{m} / day{d}} + time);
}

} // namespace

TEST(SearchDatesParts, cachedDaysMatchTheCalendarAcrossTransitions) {
    using namespace std::chrono_literals;
    // Zones with summer time, half and quarter hours, half-hour summer time, a skipped day (Apia, end of
    // 2011) and local mean time offsets of seconds (Amsterdam before 1937).
    const std::vector<std::string> zones{"Europe/Berlin",       "Asia/Kolkata", "Asia/Kathmandu",
                                         "Australia/Lord_Howe", "Pacific/Apia", "America/St_Johns",
                                         "Europe/Amsterdam",    "UTC",          "Not/A_Zone"};
    std::vector<Date> dates;
    for (const Date around : {at(2026, 3, 29, 0min), at(2026, 10, 25, 0min), at(2011, 12, 29, 0min),
                              at(2026, 4, 5, 0min), at(1930, 6, 30, 0min)})
        for (int minutes = -36 * 60; minutes <= 36 * 60; minutes += 17)
            dates.push_back(around + std::chrono::minutes{minutes});
    std::mt19937 random(7);
    // Random instants over the whole range of a Date, most of them far outside the indexed days.
    for (int i = 0; i < 400; ++i)
        dates.push_back(at(1678, 1, 1, std::chrono::minutes{random() % (580LL * 365 * 24 * 60)}));

    for (const std::string& zone : zones) {
        SearchDates cached(zone, "de_DE");
        const LocaleDate reference(zone, "de_DE");
        for (const Date date : dates) {
            const SearchDates::Texts& texts = cached.of(date);
            ASSERT_EQ(texts.yearMonthDay, yearMonthDayText(date, zone))
                << zone << " " << std::chrono::floor<std::chrono::minutes>(date).time_since_epoch().count();
            ASSERT_EQ(texts.localeDateFolded, reference(date)) << zone;
        }
    }
    SearchDates arabic("Asia/Riyadh", "ar");
    EXPECT_EQ(arabic.of(at(2026, 9, 14, 23h)).localeDateFolded, LocaleDate("Asia/Riyadh", "ar")(at(2026, 9, 14, 23h)));
    EXPECT_EQ(yearMonthDayText(at(2026, 9, 14, 23h), "Asia/Riyadh"), "2026-09-15");
}

// A search reuses its thread's zone, calendar and format instead of making them again: the same texts as a
// fresh instance, whatever order zones and locales come in, and never shared with another thread.
TEST(SearchDatesParts, eachThreadKeepsOneInstancePerZoneAndLocale) {
    using namespace std::chrono_literals;
    SearchDates& berlin = SearchDates::forThread("Europe/Berlin", "de_DE");
    EXPECT_EQ(&SearchDates::forThread("Europe/Berlin", "de_DE"), &berlin);
    EXPECT_NE(&SearchDates::forThread("Europe/Berlin", "fr_FR"), &berlin);
    EXPECT_NE(&SearchDates::forThread("UTC", "de_DE"), &berlin);

    const std::vector<std::pair<std::string, std::string>> keys{
        {"Europe/Berlin", "de_DE"}, {"Pacific/Kiritimati", "en_US"}, {"UTC", "fr_FR"}, {"Europe/Berlin", "de_DE"}};
    for (const Date date : {at(2026, 3, 29, 1h), at(2024, 2, 29, 23h), at(1970, 1, 1, 0h), at(2262, 1, 1, 12h)}) {
        for (const auto& [zone, locale] : keys) {
            SearchDates fresh(zone, locale);
            const SearchDates::Texts expected = fresh.of(date);
            const SearchDates::Texts& kept = SearchDates::forThread(zone, locale).of(date);
            EXPECT_EQ(kept.yearMonthDay, expected.yearMonthDay) << zone;
            EXPECT_EQ(kept.localeDateFolded, expected.localeDateFolded) << zone << " " << locale;
        }
    }

    const SearchDates* other = nullptr;
    std::thread([&] { other = &SearchDates::forThread("Europe/Berlin", "de_DE"); }).join();
    EXPECT_NE(other, &berlin);
}
