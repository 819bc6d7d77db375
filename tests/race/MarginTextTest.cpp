#include "race/MarginText.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

TEST(MarginText, ShortMarginsIncludeTheirUpperBound) {
    EXPECT_EQ(marginText(0.0f), "ns");
    EXPECT_EQ(marginText(148.0f), "ns");
    EXPECT_EQ(marginText(148.5f), "nk");
    EXPECT_EQ(marginText(296.0f), "nk");
    EXPECT_EQ(marginText(296.5f), "hd");
    EXPECT_EQ(marginText(444.0f), "hd");
}

TEST(MarginText, FractionsOfALengthHaveALeadingBlank) {
    EXPECT_EQ(marginText(444.5f), " \u00BC");
    EXPECT_EQ(marginText(592.0f), " \u00BC");
    EXPECT_EQ(marginText(592.5f), " \u00BD");
    EXPECT_EQ(marginText(1184.0f), " \u00BD");
    EXPECT_EQ(marginText(1184.5f), " \u00BE");
    EXPECT_EQ(marginText(1776.0f), " \u00BE");
    EXPECT_EQ(marginText(1776.5f), "1 ");
    EXPECT_EQ(marginText(2368.0f), "1 ");
}

TEST(MarginText, WholeLengthsAreFloorOfTheGapOverOneLength) {
    EXPECT_EQ(marginText(2368.5f), "1 ");
    EXPECT_EQ(marginText(4735.0f), "1 ");
    EXPECT_EQ(marginText(4736.0f), "2 ");
    EXPECT_EQ(marginText(21311.0f), "8 ");
    EXPECT_EQ(marginText(23679.0f), "9 ");
    EXPECT_EQ(marginText(23680.0f), "10");
    EXPECT_EQ(marginText(2368.0f * 37 + 1), "37");
}

TEST(SpeedFactor, GrowsByThirteenThousandthsPerGrade) {
    EXPECT_EQ(speedFactor(1), 1.0f);
    EXPECT_EQ(speedFactor(6), 1.065f);
    EXPECT_EQ(speedFactor(3), 1.026f);
}

} // namespace
} // namespace sw
