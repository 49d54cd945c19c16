#include "world/karten_tile.hpp"

namespace grotmere {

const ListRef& TKartenTile::gegenstaende() const {
    return extras().gegenstaende;
}

TKartenTile::Extras& TKartenTile::extras() const {
    if (!extras_) extras_ = std::make_unique<Extras>();
    return *extras_;
}

void TKartenTile::copy_from(const TKartenTile& other) {
    begehbar = other.begehbar;
    sichtbar = other.sichtbar;
    erfasst = other.erfasst;
    lichtstaerke = other.lichtstaerke;
    lichtr = other.lichtr;
    lichtg = other.lichtg;
    lichtb = other.lichtb;
    ID = other.ID;
    extras_ = other.extras_ ? std::make_unique<Extras>(*other.extras_) : nullptr;
}

}  // namespace grotmere
