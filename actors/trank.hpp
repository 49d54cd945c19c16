// TTrank, a potion. Its wirkung is the effect text applied when it is drunk, pieces such as
// "hp+10" or "attack+20'3" separated by "|".
#pragma once

#include "actors/gegenstand.hpp"

namespace grotmere {

class TTrank : public TGegenstand {
public:
    std::string wirkung;
};

}  // namespace grotmere
