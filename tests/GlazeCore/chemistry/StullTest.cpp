#include "GlazeCore/chemistry/Stull.h"

#include <gtest/gtest.h>

#include <limits>

using namespace GlazeCore;

TEST(StullRegionOf, pointsOnAndAroundTheLines) {
    EXPECT_EQ(Stull::region(0.6, 0.1), StullRegion::crazing);
    EXPECT_EQ(Stull::region(3.0, 0.3), StullRegion::gloss);
    EXPECT_EQ(Stull::region(2.0, 0.6), StullRegion::matte);
    EXPECT_EQ(Stull::region(7.2, 0.1), StullRegion::underfired);
    EXPECT_EQ(Stull::region(5.0, 0.2), StullRegion::underfired);
    EXPECT_EQ(Stull::region(1.0, 0.15), StullRegion::crazing);
    EXPECT_EQ(Stull::region(2.4, 0.195), StullRegion::gloss); // on the crazing line's corner
    EXPECT_EQ(Stull::region(1.0, 0.95), StullRegion::unfused);
    EXPECT_EQ(Stull::region(5.0, 0.99), StullRegion::semimatte);
    EXPECT_EQ(Stull::region(7.2, 1.0), StullRegion::gloss);

    // Exactly on a line belongs to the region tested next.
    EXPECT_EQ(Stull::region(2.6, Stull::unfusedLine(2.6)), StullRegion::matte);
    EXPECT_EQ(Stull::region(2.6, Stull::matteLine(2.6)), StullRegion::semimatte);
    EXPECT_EQ(Stull::region(3.0, Stull::underfiredLine(3.0)), StullRegion::crazing);
    EXPECT_EQ(Stull::region(3.0, Stull::crazingLine(3.0)), StullRegion::gloss);

    EXPECT_NEAR(Stull::crazingLine(1.0), 0.2378, 1e-4);
    EXPECT_EQ(Stull::crazingLine(2.4), 0.195);
    EXPECT_NEAR(Stull::crazingLine(7.2), 0.475, 1e-12);
    EXPECT_EQ(Stull::crazingLine(5.0), Stull::crazingLineRight(5.0));
    EXPECT_NEAR(Stull::underfiredLine(3.0), 0.1648, 1e-12);
}

TEST(StullRegionOf, outsideTheChartIsUnknown) {
    constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    for (const auto& [x, y] : std::initializer_list<std::pair<double, double>>{{7.21, 0.5},
                                                                               {0.59, 0.5},
                                                                               {3.0, 1.01},
                                                                               {3.0, 0.09},
                                                                               {notANumber, 0.3},
                                                                               {3.0, notANumber},
                                                                               {inf, 0.3},
                                                                               {3.0, -inf}})
        EXPECT_EQ(Stull::region(x, y), StullRegion::unknown) << x << ", " << y;
    EXPECT_TRUE(Stull::siO2Range.contains(7.2) && Stull::siO2Range.contains(0.6));
    EXPECT_EQ(Stull::al2O3Range.lowerBound, 0.1);
    EXPECT_EQ(Stull::al2O3Range.upperBound, 1.0);
}

TEST(StullRegionOf, rawValuesAnchorsAndMoves) {
    EXPECT_EQ(Stull::regionFromRaw("semimatte"), StullRegion::semimatte);
    EXPECT_EQ(Stull::rawValue(StullRegion::unknown), "unknown");
    EXPECT_FALSE(Stull::regionFromRaw("semi-matte"));
    EXPECT_FALSE(Stull::regionFromRaw("Gloss"));
    EXPECT_FALSE(Stull::regionFromRaw("matt"));

    // Each anchor lies in the region it names.
    for (const StullLabelAnchor& a : Stull::labelAnchors())
        EXPECT_EQ(Stull::region(a.siO2, a.al2O3), a.region) << Stull::rawValue(a.region);
    EXPECT_EQ(Stull::labelAnchors()[3], (StullLabelAnchor{StullRegion::gloss, 4.6, 0.52}));
    EXPECT_EQ(std::hash<StullLabelAnchor>{}({StullRegion::gloss, 0.0, 1}),
              std::hash<StullLabelAnchor>{}({StullRegion::gloss, -0.0, 1}));

    EXPECT_FALSE(Stull::isNoticeableMove(3.0, 0.3, 3.2, 0.3));
    EXPECT_TRUE(Stull::isNoticeableMove(3.0, 0.3, 3.0, 0.34));
    EXPECT_TRUE(Stull::isNoticeableMove(3.0, 0.3, 3.3, 0.3));
    EXPECT_FALSE(Stull::isNoticeableMove(3.0, 0.3, 3.0, 0.3));
}
