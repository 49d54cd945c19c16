// TTrank, a potion. Its wirkung is the effect text applied when the player or a monster drinks
// it: pieces separated by "|", each a field name, an operator, a value and perhaps a duration:
//
//   hp+10          the stored hp rises by 10 now
//   attack+20'10   a lasting buff: effective attack 20 higher for 10 turns
//   hp-2#5         a per-turn buff: the stored hp falls by 2 in each of the next 5 turns
//
// Field names ignore letter case. A piece that names no field of the drinker, or divides by 0,
// does nothing.
#pragma once

#include "world/gegenstand.hpp"

namespace grotmere {

class TTrank : public TGegenstand {
public:
    // Applies the effect text's pieces to the target, left to right.
    int32_t parse_wirkung(const RecordRef& target) const;
    // Applies one piece to the target.
    int32_t tokenize(const std::string& piece, const RecordRef& target) const;

    std::string wirkung;
};

}  // namespace grotmere
