#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace sw {

// "-", "M", "J", "C", "B", "A", "AA": index 0 is no grade, 1..6 lowest to highest.
inline constexpr std::array<std::string_view, 7> GradeLetters = {"-", "M", "J", "C", "B", "A", "AA"};

// Rating ceiling of a grade: g + 7 for g = 1..6, 0 for no grade.
constexpr int16_t gradeFactor(int g) {
    return (g >= 1 && g <= 6) ? static_cast<int16_t>(g + 7) : 0;
}

// The part of a grade-g purse earned by finishing index p (0 = winner); 0 outside 1..6 x 0..7.
int16_t purseShare(int g, int p);

// The grade index 1..6 of a letter, or 0 when the text is no grade letter.
int gradeIndex(std::string_view letter);

// Purse of a race of grade g in whole dollars.
constexpr int32_t purseOf(int g) {
    return g * 1000;
}

} // namespace sw
