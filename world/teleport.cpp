#include "world/teleport.hpp"

#include "shell/field_registry.hpp"
#include "shell/world_state.hpp"

namespace grotmere {

TTeleport::TTeleport() : target_map(current_map) {}

int32_t TTeleport::move(Record& obj) {
    // The game has no change of map: a teleport into another map moves nobody.
    if (current_map != target_map) return 0;
    // The destination need not be walkable, but it must be a cell of the map, or the traveller
    // would stand where no tile is.
    if (!inside_map(target_x, target_y)) return 0;
    const TTypeId* type = TTypeId::ForObject(obj);
    if (type == nullptr) return 0;
    if (const TField* x_field = type->FindField("x")) x_field->SetInt(obj, target_x);
    if (const TField* y_field = type->FindField("y")) y_field->SetInt(obj, target_y);
    return 0;
}

}  // namespace grotmere
