// The state dump of grotmere-sim: the run's counters and the world, as JSON. Keys keep the order
// they are written in (ordered_json), so a record's fields read in the registry's order. Game
// texts are byte strings and go out through latin1_to_utf8, so the file is always valid UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace grotmere {

using Json = nlohmann::ordered_json;

struct RunSummary {
    int64_t passes = 0;
    int64_t turns = 0;             // passes whose action routine used a turn
    std::string ended = "script";  // "script", "escape", "close", "death" or "escaped"
    std::vector<std::string> notices;
};

Json dump_state(const RunSummary& run);

}  // namespace grotmere
