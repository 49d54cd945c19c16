#include "world/teleport.hpp"

#include "shell/world_state.hpp"

namespace grotmere {

TTeleport::TTeleport() : target_map(current_map) {}

}  // namespace grotmere
