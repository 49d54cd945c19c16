#include "actors/gegenstand.hpp"

namespace grotmere {

// FIXME: the map issue builds this.
std::shared_ptr<TGegenstand> TGegenstand::create_from_proto(const std::string&) {
    return nullptr;
}

}  // namespace grotmere
