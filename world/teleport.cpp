#include "world/teleport.hpp"

#include "records/field_registry.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

// Only an integer field of that name is a position; a record without one stays where it is.
void set_int_field(const TTypeId& type, Record& obj, const char* name, int32_t value) {
    const TField* field = type.FindField(name);
    if (field != nullptr && field->Kind() == FieldKind::Int) field->SetInt(obj, value);
}

}  // namespace

TTeleport::TTeleport() : target_map(current_map) {}

int32_t TTeleport::move(Record& obj) {
    // The game has no change of map: a teleport into another map moves nobody.
    if (current_map != target_map) return 0;
    // The destination need not be walkable, but it must be a cell of the map, or the traveller
    // would stand where no tile is.
    if (!inside_map(target_x, target_y)) return 0;
    const TTypeId* type = TTypeId::ForObject(obj);
    if (type == nullptr) return 0;
    set_int_field(*type, obj, "x", target_x);
    set_int_field(*type, obj, "y", target_y);
    return 0;
}

}  // namespace grotmere
