#include "world/gegenstand.hpp"

#include "records/field_registry.hpp"
#include "world/world_state.hpp"

namespace grotmere {

// Records of other families that an item file might hold are never items, whatever their name.
std::shared_ptr<TGegenstand> TGegenstand::find_proto(const std::string& name) {
    return item_prototypes->find_first<TGegenstand>(
        [&](const TGegenstand& candidate) { return candidate.name == name; });
}

std::shared_ptr<TGegenstand> TGegenstand::create_from_proto(const std::string& name) {
    std::shared_ptr<TGegenstand> prototype = find_proto(name);
    return prototype ? clone_as<TGegenstand>(*prototype) : nullptr;
}

}  // namespace grotmere
