// TBuff, a timed modifier of one field of the player or a monster. The owner's buff list owns the
// buff; `ziel` points back at the owner without owning it, since an owning back reference would
// keep owner and buff alive for ever.
//
// A lasting buff (multi 0) leaves the stored field alone and counts in the owner's actual(); a
// per-turn buff (multi 1) changes the stored field once in every per-turn tick. Potions make
// buffs (TTrank), the player's upkeep makes silent one-pass corrections (setbuff), and the main
// loop runs the two ticks: update(0) once per turn, update(1) once per pass.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "records/record_list.hpp"

namespace grotmere {

class TBuff : public Record {
public:
    // A silent lasting correction of `amount` on the field `name` of the target, gone at the next
    // per-pass tick. Only the player and monsters carry buffs; other targets get none.
    static int32_t setbuff(const std::string& name, int32_t amount, const RecordRef& target);
    // phase 0: the per-turn tick; any other: the per-pass tick of silent corrections. Walks the
    // player's buffs, then every monster's, counting down and running per-turn effects.
    static int32_t update(int32_t phase);
    // How many buffs exist, in a list or not: with none, a tick has nothing to count down, and
    // it does not walk a thousand monsters to find that out.
    static int64_t existing() { return Existing::count; }

    int32_t multi = 0;  // 1 = per-turn effect, 0 = lasting modifier
    int32_t wirkzeit = 0;
    int32_t wert = 0;
    int32_t startwert = 0;
    const TField* variable = nullptr;
    const TTypeId* wer = nullptr;
    std::weak_ptr<Record> ziel;
    std::string operand;
    int32_t silent = 0;
    // What made it ("Murky Draught"), for the story of the run; no rule reads it.
    std::string source;

private:
    // Counts itself in and out with its buff, however the buff is made, cloned or freed.
    struct Existing {
        static inline int64_t count = 0;
        Existing() { ++count; }
        Existing(const Existing&) { ++count; }
        Existing& operator=(const Existing&) { return *this; }
        ~Existing() { --count; }
    };
    Existing existing_;
};

// The buff list of the player or of a monster (by the target's type name); none for any other
// record.
ListRef buff_list_of(const Record& target);

struct BuffTerms {
    std::string operand;
    int32_t wert = 0;
    int32_t wirkzeit = 0;
    int32_t multi = 0;
    int32_t silent = 0;
    std::string source;
};

// Makes a buff on `field` of the target, with startwert the target's stored value now, and
// appends it to the target's buff list; a target that carries no buffs gets none.
void attach_buff(const RecordRef& target, const TField& field, const BuffTerms& terms);

// Sets the owner's integer field to field (operand) wert, as potions and per-turn buffs do; an
// operation without a result (another operand, a division by 0) changes nothing, and neither
// does one that would move a player or monster off the map through its "x" or "y".
void change_field(Record& owner, const TField& field, const std::string& operand, int32_t wert);

}  // namespace grotmere
