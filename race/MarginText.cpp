#include "MarginText.h"

#include <cmath>
#include <cstdio>

namespace sw {

std::string marginText(float gap) {
    if (gap <= 148.0f)
        return "ns";
    if (gap <= 296.0f)
        return "nk";
    if (gap <= 444.0f)
        return "hd";
    if (gap <= 592.0f)
        return " \u00BC";
    if (gap <= 1184.0f)
        return " \u00BD";
    if (gap <= 1776.0f)
        return " \u00BE";
    if (gap <= MillisecondsPerLength)
        return "1 ";
    double lengths = std::floor(static_cast<double>(gap) / MillisecondsPerLength);
    char buf[32];
    if (lengths < 10.0)
        std::snprintf(buf, sizeof buf, "%.0f ", lengths);
    else
        std::snprintf(buf, sizeof buf, "%02.0f", lengths);
    return buf;
}

float speedFactor(int grade) {
    return static_cast<float>(1.0 + 0.013 * (grade - 1));
}

} // namespace sw
