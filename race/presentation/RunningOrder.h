#pragma once

#include "core/Constants.h"

#include <array>
#include <string>
#include <vector>

namespace sw {

// One place in the running order: the entry, and how far it is behind the horse just in front as
// the chart writes a margin, without its blanks ("nk", "½", "2"); empty for the first, and for
// everyone before the start.
struct RunningPlace {
    int entry = 0;
    std::string lengths;

    bool operator==(const RunningPlace&) const = default;
};
using RunningOrder = std::array<RunningPlace, FieldSize>;

// The field in running order: the horses placed, by place, then the others by the distance run,
// the farthest first (level ones by post). Two placed horses are apart by their finish times' gap,
// as the chart measures margins; any other two by the distance between them, a horse's body being a
// length. Before anyone has moved, the field by post without lengths. `placed` and `finishTimes`
// (seconds) are by place; `trackScale` is the track's width over the design width.
RunningOrder runningOrder(const std::array<double, FieldSize>& distance, const std::vector<int>& placed,
                          const std::vector<float>& finishTimes, double trackScale = 1.0);

} // namespace sw
