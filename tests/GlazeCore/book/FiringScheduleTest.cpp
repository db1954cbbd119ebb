#include "GlazeCore/book/FiringSchedule.h"
#include "GlazeCore/text/NumberText.h"
#include "support/BookBuilders.h"

#include <gtest/gtest.h>

using namespace GlazeCore;
using namespace GlazeCore::FiringSchedule;

namespace {

std::string english(int places, double value) {
    return NumberText::format(value, {places, places}, "en_US");
}

void expectPoints(const std::vector<RampPoint>& points, const std::vector<std::pair<double, double>>& expected) {
    ASSERT_EQ(points.size(), expected.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(points[i].id, int(i));
        EXPECT_NEAR(points[i].hours, expected[i].first, 5e-5) << "point " << i;
        EXPECT_EQ(points[i].celsius, expected[i].second) << "point " << i;
    }
}

} // namespace

TEST(FiringSchedule, cone6DefaultRampAndSummary) {
    const auto points = rampPoints(cone6DefaultSchedule());
    expectPoints(points, {{0, 20}, {3.8667, 600}, {6.1394, 1100}, {8.1394, 1220}, {8.3061, 1220}});
    EXPECT_EQ(english(1, totalHours(points)), "8.3");
    // The peak is the first point at 1220, before the hold.
    EXPECT_EQ(rampChartSummary(points, cone6DefaultSchedule(), english),
              "3 segments. Peak 1220 degrees Celsius at 8.1 hours. Total 8.3 hours.");
}

TEST(FiringSchedule, rampsThatTakeNoTimeCoolOrHoldOddly) {
    expectPoints(rampPoints({{0, 700, 30}, {-100, 500, 0}}), {{0, 20}, {0, 700}, {0.5, 700}, {2.5, 500}});
    // No rate, an infinite rate, and holds that are not positive add no time and no hold point.
    expectPoints(rampPoints({{OrzaTest::notANumber, 900, -5}, {OrzaTest::inf, 1000, OrzaTest::notANumber}}),
                 {{0, 20}, {0, 900}, {0, 1000}});

    const auto start = rampPoints({});
    expectPoints(start, {{0, 20}});
    EXPECT_EQ(rampChartSummary(start, {}, english),
              "0 segments. Peak 20 degrees Celsius at 0.0 hours. Total 0.0 hours.");
}

TEST(FiringSchedule, nextSegmentAndTheBooksLimits) {
    const FiringSegment first = nextSegment({});
    EXPECT_EQ(first, (FiringSegment{100, 700, 0}));
    EXPECT_EQ(nextSegment({first}), (FiringSegment{100, 800, 0}));
    EXPECT_EQ(nextSegment(cone6DefaultSchedule()), (FiringSegment{60, 1320, 0}));

    std::vector<FiringSegment> full(1000, {100, 900, 0});
    EXPECT_FALSE(canAddSegment(full));
    full.pop_back();
    EXPECT_TRUE(canAddSegment(full));
    // A target 100 above the last would be more than a book holds.
    EXPECT_FALSE(canAddSegment({{100, 999'950, 0}}));
    EXPECT_TRUE(canAddSegment({{100, 999'900, 0}}));

    EXPECT_TRUE(isStorableValue(-1'000'000));
    EXPECT_FALSE(isStorableValue(1'000'000.5));
    EXPECT_FALSE(isStorableValue(OrzaTest::inf));
}
