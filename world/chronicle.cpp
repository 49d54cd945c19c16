#include "world/chronicle.hpp"

#include <algorithm>

#include "world/world_state.hpp"

namespace grotmere {

void note_harm(const std::string& cause) {
    world_state.chronicle.last_harm = cause;
}

void note_kill(const std::string& name) {
    auto& kills = world_state.chronicle.kills;
    auto found = std::find_if(kills.begin(), kills.end(),
                              [&](const auto& entry) { return entry.first == name; });
    if (found == kills.end()) {
        kills.emplace_back(name, 1);
    } else {
        ++found->second;
    }
}

}  // namespace grotmere
