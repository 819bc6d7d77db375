#include "tote/Tote.h"

#include "core/Format.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace sw;

namespace {

TEST(OddsRule, TakesAQuarterSharesTruncatesToTenthsAndNeverGoesBelowFiveCents) {
    struct Case {
        double total;
        float share;
        double money;
        float odds;
    } cases[] = {
        {337, 1.0f, 75, 2.3f},     // 2.37
        {1000, 1.0f, 100, 6.5f},   // exactly
        {999, 1.0f, 100, 6.4f},    // 6.4925
        {440, 1.0f, 100, 2.3f},    // 2.3, which single precision holds as 2.2999999
        {4, 1.0f, 1, 2.0f},        // exactly
        {1000, 0.5f, 100, 2.7f},   // place: 2.75
        {1000, 0.333f, 100, 1.4f}, // show: 1.4975
        {104, 1.0f, 75, 0.05f},    // 0.04
        {107, 1.0f, 75, 0.05f},    // 0.07 truncates to 0.0 first, then is raised
        {100, 1.0f, 100, 0.05f},   // all the money on one horse pays back less than was bet
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(oddsFor(c.total, c.share, c.money).value_or(-1), c.odds) << c.total << " " << c.money;
    for (int tenths = 1; tenths < 1000; ++tenths) {
        // total chosen so that the exact odds are tenths / 10
        const double total = (tenths / 10.0 + 1) * 75 / 0.75;
        EXPECT_FLOAT_EQ(oddsFor(total, 1.0f, 75).value_or(-1), static_cast<float>(tenths / 10.0)) << tenths;
    }
    EXPECT_EQ(moneyText(payoffOf(2.3f)), "6.60");
    EXPECT_EQ(moneyText(payoffOf(0.05f)), "2.10");
}

TEST(OddsRule, NoMoneyMeansNoOdds) {
    EXPECT_FALSE(oddsFor(1000, 1.0f, 0).has_value());
    EXPECT_FALSE(oddsFor(1000, 1.0f, -5).has_value());
    EXPECT_FALSE(oddsFor(0, 1.0f, 0).has_value());
    EXPECT_FALSE(oddsFor(1e300, 1.0f, 1e-300).has_value()) << "beyond single precision";
    EXPECT_FALSE(oddsFor(1000, 1.0f, std::nan("")).has_value());
}

TEST(OddsText, FractionalBandsIncludeTheirLowerBoundAndLongOddsShowTwoColumns) {
    struct Case {
        float odds;
        const char* text;
    };
    const Case cases[] = {{0.05f, "1/9"}, {0.19f, "1/9"}, {0.2f, "1/5"}, {0.3f, "1/5"}, {0.4f, "2/5"},
                          {0.5f, "1/2"},  {0.6f, "3/5"},  {0.7f, "3/5"}, {0.8f, "4/5"}, {1.0f, "1"},
                          {1.1f, "1"},    {1.2f, "6/5"},  {1.4f, "7/5"}, {1.5f, "3/2"}, {1.6f, "8/5"},
                          {1.8f, "9/5"},  {1.9f, "9/5"},  {2.0f, "2"},   {2.4f, "2"},   {2.5f, "5/2"},
                          {3.0f, "3"},    {3.5f, "7/2"},  {4.0f, "4"},   {4.5f, "9/2"}, {4.99f, "9/2"},
                          {5.0f, " 5"},   {9.9f, " 9"},   {10.0f, "10"}, {42.7f, "42"}, {98.9f, "98"},
                          {99.0f, "99"},  {150.0f, "99"}, {1e30f, "99"}};
    for (const Case& c : cases)
        EXPECT_EQ(oddsText(c.odds), c.text) << c.odds;
}

} // namespace
