// The ranges a chart chooses for its data, and fonts given as texts.
#include <gtest/gtest.h>

#include "viewer/ui/ChartScale.h"
#include "viewer/ui/ChartStyle.h"

TEST(ChartScaleTest, RangesEndOnRoundNumbersAndHideNoData) {
    // Bins 1 to 26 drawn as points; four labelled values; a spectrum drawn as lines.
    EXPECT_EQ(RoundAxisBounds(1, 26, std::nullopt, true), (AxisBounds{0, 30}));
    EXPECT_EQ(RoundAxisBounds(1, 4, std::nullopt, true), (AxisBounds{0.75, 4.25}));
    EXPECT_EQ(RoundAxisBounds(0, 511 * 9.5367431640625, std::nullopt, false),
              (AxisBounds{0, 5000}));
    // The origin is the bottom unless data lie below it.
    EXPECT_EQ(RoundAxisBounds(0.5, 3.2, 0.0, false), (AxisBounds{0, 4}));
    EXPECT_EQ(RoundAxisBounds(-0.4362, 0.61, -0.4362, false).lower, -0.4362);
    EXPECT_LE(RoundAxisBounds(-2.0, 3.2, 0.0, false).lower, -2.0);
    // Data all at one value still get a range to draw in.
    const AxisBounds zeros = RoundAxisBounds(0, 0, 0.0, false);
    EXPECT_EQ(zeros.lower, 0.0);
    EXPECT_GT(zeros.upper, 0.0);
    const AxisBounds flat = RoundAxisBounds(7, 7, std::nullopt, false);
    EXPECT_LT(flat.lower, 7.0);
    EXPECT_GT(flat.upper, 7.0);
}

TEST(ChartScaleTest, FontsFromTheirTexts) {
    const std::optional<QFont> times = ParseChartFont("Times, 10");
    ASSERT_TRUE(times);
    EXPECT_EQ(times->family(), "Times");
    EXPECT_EQ(times->pointSizeF(), 10.0);
    EXPECT_FALSE(times->bold());
    const std::optional<QFont> bold = ParseChartFont(" Courier New ,9, Bold");
    ASSERT_TRUE(bold);
    EXPECT_EQ(bold->family(), "Courier New");
    EXPECT_EQ(bold->pointSizeF(), 9.0);
    EXPECT_TRUE(bold->bold());
    EXPECT_FALSE(ParseChartFont("Times"));
    EXPECT_FALSE(ParseChartFont("Times, ten"));
    EXPECT_FALSE(ParseChartFont(", 10"));
}
