#include "GlazeCore/layout/WindowLayout.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace GlazeCore;

TEST(WindowLayout, defaultWindowSizeFitsTheScreenWithinBounds) {
    EXPECT_EQ(WindowLayout::defaultWindowSize(LayoutSize{1440, 875}), (LayoutSize{1320, 780}));
    EXPECT_EQ(WindowLayout::defaultWindowSize(LayoutSize{1280, 775}), (LayoutSize{1264, 767}));
    EXPECT_EQ(WindowLayout::defaultWindowSize(LayoutSize{800, 600}), (LayoutSize{944, 652}));
    EXPECT_EQ(WindowLayout::defaultWindowSize(LayoutSize{0, 600}), (LayoutSize{1320, 780}));
    EXPECT_EQ(WindowLayout::defaultWindowSize(LayoutSize{1280, -1}), (LayoutSize{1320, 780}));
    EXPECT_EQ(WindowLayout::defaultWindowSize(std::nullopt), (LayoutSize{1320, 780}));
    // A screen reporting NaN is treated like no screen rather than sizing a window from NaN.
    EXPECT_EQ(WindowLayout::defaultWindowSize(LayoutSize{std::nan(""), 600}), (LayoutSize{1320, 780}));
}

TEST(WindowLayout, sheetSizeKeepsRoomForTheWindowAroundIt) {
    EXPECT_EQ(WindowLayout::sheetSize(LayoutSize{1440, 875}), (LayoutSize{900, 740}));
    EXPECT_EQ(WindowLayout::sheetSize(LayoutSize{1024, 640}), (LayoutSize{900, 580}));
    EXPECT_EQ(WindowLayout::sheetSize(LayoutSize{700, 500}), (LayoutSize{812, 560}));
    EXPECT_EQ(WindowLayout::sheetSize(LayoutSize{850, 700}), (LayoutSize{834, 640}));
    EXPECT_EQ(WindowLayout::sheetSize(std::nullopt), (LayoutSize{900, 740}));
    EXPECT_EQ(WindowLayout::sheetSize(LayoutSize{1024, 0}), (LayoutSize{900, 740}));
    EXPECT_EQ(WindowLayout::sheetSize(LayoutSize{1024, std::nan("")}), (LayoutSize{900, 740}));
}

TEST(WindowLayout, chemistryPaneTakesFortyPercentWithinItsBounds) {
    EXPECT_EQ(WindowLayout::sidebarWidth(1000), 400);
    EXPECT_EQ(WindowLayout::sidebarWidth(1400), 480);
    EXPECT_EQ(WindowLayout::sidebarWidth(760), 340);
    EXPECT_EQ(WindowLayout::sidebarWidth(700), 340);
    EXPECT_EQ(WindowLayout::sidebarWidth(900), 360);
    EXPECT_EQ(WindowLayout::sidebarWidth(0), 340);
    // 40 % of 1126.25 is 450.5, which rounds away from zero.
    EXPECT_EQ(WindowLayout::sidebarWidth(1126.25), 451);
    EXPECT_EQ(WindowLayout::sidebarWidth(INFINITY), 480);
    EXPECT_EQ(WindowLayout::sidebarWidth(std::nan("")), 340);
}

TEST(WindowLayout, tableHeightsShowTwoToEightRows) {
    EXPECT_EQ(WindowLayout::tableHeight(5), 164.5);
    EXPECT_EQ(WindowLayout::tableHeight(0), 91);
    EXPECT_EQ(WindowLayout::tableHeight(-4), 91);
    EXPECT_EQ(WindowLayout::tableHeight(8), 238);
    EXPECT_EQ(WindowLayout::tableHeight(20), 238);
    EXPECT_EQ(WindowLayout::compactTableHeight(1), 91);
    EXPECT_EQ(WindowLayout::compactTableHeight(3), 115.5);
    EXPECT_EQ(WindowLayout::compactTableHeight(7), 115.5);
}

TEST(WindowLayout, parseSizeReadsWidthXHeight) {
    EXPECT_EQ(WindowLayout::parseSize("1200x800"), (LayoutSize{1200, 800}));
    EXPECT_EQ(WindowLayout::parseSize("1200X800"), (LayoutSize{1200, 800}));
    EXPECT_EQ(WindowLayout::parseSize("1200.5x800.25"), (LayoutSize{1200.5, 800.25}));
    EXPECT_EQ(WindowLayout::parseSize("1E3x5e2"), (LayoutSize{1000, 500}));
    // Empty fields are dropped before counting.
    EXPECT_EQ(WindowLayout::parseSize("x1200xx800x"), (LayoutSize{1200, 800}));

    const LayoutSize zero{0, 0};
    EXPECT_EQ(WindowLayout::parseSize(std::nullopt), zero);
    for (const char* text : {"", "1200 x 800", " 1200x800", "1200x800 ", "1200x", "x800", "0x800", "1200x-800",
                             "1200x800x2", "1200", "wide x tall", "1200x8OO", "nanx800", "infx800", "1200x1e400"})
        EXPECT_EQ(WindowLayout::parseSize(text), zero) << text;
}
