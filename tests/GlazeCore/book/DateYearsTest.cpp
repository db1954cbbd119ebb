#include "GlazeCore/book/DateYears.h"
#include "GlazeCore/book/BookJson.h"
#include "support/BookBuilders.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace GlazeCore;
using namespace std::chrono;

// The first moment of the first year and the last of the last year, in the zones furthest from UTC, are dates a
// tile holds and the book file writes and reads back.
TEST(DateYears, everyDayOfThemIsStoredInAnyZone) {
    EXPECT_TRUE(DateYears::holds(2026));
    // Both years the refusal names as the range are in it, and no year past them.
    EXPECT_TRUE(DateYears::holds(DateYears::first()));
    EXPECT_TRUE(DateYears::holds(DateYears::last()));
    EXPECT_FALSE(DateYears::holds(DateYears::first() - 1));
    EXPECT_FALSE(DateYears::holds(DateYears::last() + 1));

    GlazeBook book = OrzaTest::bookWithTiles({"T-001", "T-002"});
    book.tests[0].date = sys_days{year{DateYears::first()} / January / 1} - hours{14};
    book.tests[1].date = sys_days{year{DateYears::last()} / December / 31} + hours{24 + 14} - seconds{1};
    EXPECT_EQ(BookJson::readBook(BookJson::writeBook(book)), book);
}
