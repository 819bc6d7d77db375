#include "GradeTables.h"

namespace sw {

int16_t purseShare(int g, int p) {
    if (g < 1 || g > 6 || p < 0 || p > 7)
        return 0;
    static constexpr int perThousand[8] = {400, 250, 150, 100, 25, 25, 25, 25};
    return static_cast<int16_t>(perThousand[p] * g);
}

int gradeIndex(std::string_view letter) {
    for (int g = 1; g <= 6; ++g)
        if (GradeLetters[g] == letter)
            return g;
    return 0;
}

} // namespace sw
