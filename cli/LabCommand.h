#pragma once

#include "core/DataFolder.h"
#include "lab/Lab.h"

#include <nlohmann/json.hpp>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace sw::cli {

// What the lab command prints: one object for --json, or the text.
struct LabReply {
    nlohmann::ordered_json json;
    std::string text;
};

// A usage error of the lab command, in a sentence.
struct LabUsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

inline constexpr const char* LabUsage =
    "lab STRATEGY [DAYS] [--crowd track|sharp] [--seed N] [--vs STRATEGY] [--stake N|N%] [--chance-races N]";

// `lab list`: the strategies and the rule grammar; otherwise a run over the folder's stable (read
// once, never written) of one strategy, or two side by side on the same days. The chances of the
// fields come from the cache and go into it.
LabReply labCommand(const DataFolder& folder, const std::vector<std::string>& args,
                    const std::shared_ptr<LabChanceCache>& chances);

} // namespace sw::cli
