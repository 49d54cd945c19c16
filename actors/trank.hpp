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

#include <vector>

#include "world/gegenstand.hpp"

namespace grotmere {

// One piece of an effect text as it is read once, for the drink that carries it out and for the
// content check that inspects it. The operator is the first of * + , - . / found anywhere in the
// piece (no operator leaves the field name empty); "'" marks a lasting duration, "#" a per-turn
// one.
struct PotionPiece {
    std::string text;  // the piece as written
    std::string field;
    std::string operand;
    int32_t value = 0;
    int32_t duration = 0;  // 0: the piece acts at once
    bool per_turn = false;
};

// Always one piece, even for an empty text; a text ending in "|" hands no empty last piece.
std::vector<PotionPiece> read_potion_text(const std::string& wirkung);

class TTrank : public TGegenstand {
public:
    // Applies the effect text's pieces to the target, left to right.
    int32_t parse_wirkung(const RecordRef& target) const;
    // Applies one piece to the target; a lasting effect remembers the potion it came from.
    static void apply_piece(const PotionPiece& piece, const RecordRef& target,
                            const std::string& potion);

    std::string wirkung;
};

}  // namespace grotmere
