#include "tote/Tote.h"

#include "core/Format.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace sw;

namespace {

float odds(double total, float share, double money) {
    auto value = oddsFor(total, share, money);
    EXPECT_TRUE(value.has_value());
    return value.value_or(-1.0f);
}

TEST(OddsRule, TruncatesToTenths) {
    // 337 * 0.75 / 75 - 1 = 2.37
    EXPECT_FLOAT_EQ(odds(337, 1.0f, 75), 2.3f);
    EXPECT_EQ(moneyText(payoffOf(odds(337, 1.0f, 75))), "6.60");
    // 1000 * 0.75 / 100 - 1 = 6.5
    EXPECT_FLOAT_EQ(odds(1000, 1.0f, 100), 6.5f);
    // 999 * 0.75 / 100 - 1 = 6.4925
    EXPECT_FLOAT_EQ(odds(999, 1.0f, 100), 6.4f);
}

TEST(OddsRule, KeepsOddsThatAreExactlyATenth) {
    // 440 * 0.75 / 100 - 1 = 2.3, which single precision holds as 2.2999999.
    EXPECT_FLOAT_EQ(odds(440, 1.0f, 100), 2.3f);
    // 0.75 * 4 / 1 - 1 = 2 exactly
    EXPECT_FLOAT_EQ(odds(4, 1.0f, 1), 2.0f);
    for (int tenths = 1; tenths < 1000; ++tenths) {
        // total chosen so that the exact odds are tenths / 10
        double money = 75;
        double total = (tenths / 10.0 + 1) * money / 0.75;
        EXPECT_FLOAT_EQ(odds(total, 1.0f, money), static_cast<float>(tenths / 10.0)) << tenths;
    }
}

TEST(OddsRule, NeverGoesBelowFiveCents) {
    // 104 * 0.75 / 75 - 1 = 0.04
    float low = odds(104, 1.0f, 75);
    EXPECT_FLOAT_EQ(low, 0.05f);
    EXPECT_EQ(oddsText(low), "1/9");
    EXPECT_EQ(moneyText(payoffOf(low)), "2.10");
    // 0.07 truncates to 0.0 first, then is raised.
    EXPECT_FLOAT_EQ(odds(107, 1.0f, 75), 0.05f);
    // All the money on one horse: the pool pays back less than was bet.
    EXPECT_FLOAT_EQ(odds(100, 1.0f, 100), 0.05f);
}

TEST(OddsRule, SharesPlaceAndShowPools) {
    // 1000 * 0.75 * 0.5 / 100 - 1 = 2.75
    EXPECT_FLOAT_EQ(odds(1000, 0.5f, 100), 2.7f);
    // 1000 * 0.75 * 0.333 / 100 - 1 = 1.4975
    EXPECT_FLOAT_EQ(odds(1000, 0.333f, 100), 1.4f);
}

TEST(OddsRule, NoMoneyMeansNoOdds) {
    EXPECT_FALSE(oddsFor(1000, 1.0f, 0).has_value());
    EXPECT_FALSE(oddsFor(1000, 1.0f, -5).has_value());
    EXPECT_FALSE(oddsFor(0, 1.0f, 0).has_value());
    EXPECT_FALSE(oddsFor(1e300, 1.0f, 1e-300).has_value()) << "beyond single precision";
    EXPECT_FALSE(oddsFor(1000, 1.0f, std::nan("")).has_value());
}

TEST(OddsText, FractionalBandsIncludeTheirLowerBound) {
    struct Case {
        float odds;
        const char* text;
    };
    const Case cases[] = {{0.05f, "1/9"}, {0.19f, "1/9"}, {0.2f, "1/5"}, {0.3f, "1/5"}, {0.4f, "2/5"},
                          {0.5f, "1/2"},  {0.6f, "3/5"},  {0.7f, "3/5"}, {0.8f, "4/5"}, {1.0f, "1"},
                          {1.1f, "1"},    {1.2f, "6/5"},  {1.4f, "7/5"}, {1.5f, "3/2"}, {1.6f, "8/5"},
                          {1.8f, "9/5"},  {1.9f, "9/5"},  {2.0f, "2"},   {2.4f, "2"},   {2.5f, "5/2"},
                          {3.0f, "3"},    {3.5f, "7/2"},  {4.0f, "4"},   {4.5f, "9/2"}, {4.99f, "9/2"}};
    for (const Case& c : cases)
        EXPECT_EQ(oddsText(c.odds), c.text) << c.odds;
}

TEST(OddsText, LongOddsShowTheWholePartInTwoColumns) {
    EXPECT_EQ(oddsText(5.0f), " 5");
    EXPECT_EQ(oddsText(9.9f), " 9");
    EXPECT_EQ(oddsText(10.0f), "10");
    EXPECT_EQ(oddsText(42.7f), "42");
    EXPECT_EQ(oddsText(98.9f), "98");
    EXPECT_EQ(oddsText(99.0f), "99");
    EXPECT_EQ(oddsText(150.0f), "99");
    EXPECT_EQ(oddsText(1e30f), "99");
}

} // namespace
