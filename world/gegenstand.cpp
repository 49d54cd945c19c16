#include "world/gegenstand.hpp"

#include "records/field_registry.hpp"
#include "world/world_state.hpp"

namespace grotmere {

// Records of other families that an item file might hold are never items, whatever their name.
std::shared_ptr<TGegenstand> TGegenstand::create_from_proto(const std::string& name) {
    std::shared_ptr<TGegenstand> copy;
    item_prototypes->for_each_of<TGegenstand>([&](std::shared_ptr<TGegenstand>& prototype) {
        if (prototype->name != name) return WalkStep::Continue;
        copy = clone_as<TGegenstand>(*prototype);
        return WalkStep::Stop;
    });
    return copy;
}

}  // namespace grotmere
