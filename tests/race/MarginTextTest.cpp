#include "race/MarginText.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

TEST(MarginText, EachBandIncludesItsUpperBoundAndWholeLengthsAreFloored) {
    // Fractions of a length have a leading blank, whole lengths below ten a trailing one.
    const std::pair<float, const char*> cases[] = {
        {0.0f, "ns"},        {148.0f, "ns"},       {148.5f, "nk"},       {296.0f, "nk"},
        {296.5f, "hd"},      {444.0f, "hd"},       {444.5f, " \u00BC"},  {592.0f, " \u00BC"},
        {592.5f, " \u00BD"}, {1184.0f, " \u00BD"}, {1184.5f, " \u00BE"}, {1776.0f, " \u00BE"},
        {1776.5f, "1 "},     {2368.0f, "1 "},      {2368.5f, "1 "},      {4735.0f, "1 "},
        {4736.0f, "2 "},     {21311.0f, "8 "},     {23679.0f, "9 "},     {23680.0f, "10"},
        {87617.0f, "37"}};
    for (const auto& [gap, text] : cases)
        EXPECT_EQ(marginText(gap), text) << gap;
}

} // namespace
} // namespace sw
