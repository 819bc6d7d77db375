#include "RunningOrder.h"

#include "race/MarginText.h"
#include "race/RaceModel.h"

#include <algorithm>
#include <numeric>

namespace sw {

namespace {

std::string withoutBlanks(std::string text) {
    std::erase(text, ' ');
    return text;
}

} // namespace

RunningOrder runningOrder(const std::array<double, FieldSize>& distance, const std::vector<int>& placed,
                          const std::vector<float>& finishTimes, double trackScale) {
    RunningOrder order;
    std::array<int, FieldSize> entries{};
    std::iota(entries.begin(), entries.end(), 0);
    const bool moved = std::any_of(distance.begin(), distance.end(), [](double d) { return d != 0; });
    if (!moved) {
        for (int e = 0; e < FieldSize; ++e)
            order[static_cast<std::size_t>(e)].entry = e;
        return order;
    }

    // A place counts only for an entry of the field, once.
    std::array<int, FieldSize> placeOf{};
    placeOf.fill(FieldSize);
    int placedCount = 0;
    for (int e : placed)
        if (e >= 0 && e < FieldSize && placeOf[static_cast<std::size_t>(e)] == FieldSize)
            placeOf[static_cast<std::size_t>(e)] = placedCount++;
    std::stable_sort(entries.begin(), entries.end(), [&](int a, int b) {
        const int pa = placeOf[static_cast<std::size_t>(a)], pb = placeOf[static_cast<std::size_t>(b)];
        if (pa != pb)
            return pa < pb;
        return pa == FieldSize &&
               distance[static_cast<std::size_t>(a)] > distance[static_cast<std::size_t>(b)];
    });

    // A body length on this track, and the race-clock gap that makes a length on the chart.
    const double length = std::max(BodyLength * trackScale, 1.0);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int e = entries[i];
        order[i].entry = e;
        if (i == 0)
            continue;
        const int front = entries[i - 1];
        const auto fp = static_cast<std::size_t>(placeOf[static_cast<std::size_t>(front)]);
        const auto ep = static_cast<std::size_t>(placeOf[static_cast<std::size_t>(e)]);
        float gap = 0;
        if (ep < finishTimes.size() && fp < finishTimes.size()) {
            gap = (finishTimes[ep] - finishTimes[fp]) * 1000.0f;
        } else {
            const double apart =
                distance[static_cast<std::size_t>(front)] - distance[static_cast<std::size_t>(e)];
            gap = static_cast<float>(std::max(apart, 0.0) / length * MillisecondsPerLength);
        }
        order[i].lengths = withoutBlanks(marginText(gap));
    }
    return order;
}

} // namespace sw
