#include "world/karten_tile.hpp"

namespace grotmere {

const ListRef& TKartenTile::gegenstaende() const {
    return extras().gegenstaende;
}

TKartenTile::Extras& TKartenTile::extras() const {
    if (!extras_.made) extras_.made = std::make_unique<Extras>();
    return *extras_.made;
}

}  // namespace grotmere
