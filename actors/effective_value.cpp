// Effective values of the player and the monsters: the stored field plus the lasting buffs on it.
// The two owners recognise their own buffs differently: the player by the buff's type (a buff
// made for any player), a monster by the buff's target (a buff made for this very monster).
#include <array>
#include <typeinfo>

#include "actors/buff.hpp"
#include "actors/buff_arithmetic.hpp"
#include "actors/gegner.hpp"
#include "actors/player.hpp"
#include "records/field_registry.hpp"

namespace grotmere {

namespace {

// What a lasting buff adds to the effective value. "*" and "/" work from startwert, the stored
// value when the buff was made, so later changes of the stored field do not change them.
int32_t contribution(const TBuff& buff) {
    if (buff.operand == "+") return buff.wert;
    if (buff.operand == "-") return -buff.wert;
    if (buff.operand == "*") return buff.startwert * buff.wert - buff.startwert;
    // Halving takes half away; dividing by 4 takes a quarter away.
    if (buff.operand == "/" && can_divide(buff.startwert, buff.wert))
        return -(buff.startwert / buff.wert);
    return 0;
}

template <class Owns>
int32_t sum_lasting_buffs(const ListRef& buffs, const std::string& name, Owns owns) {
    int32_t sum = 0;
    if (!buffs) return sum;
    buffs->for_each_of<TBuff>([&](std::shared_ptr<TBuff>& buff) {
        if (!owns(*buff) || buff->multi != 0 || buff->variable == nullptr) return;
        // The declared name, letter case included: a monster's `RS` is not "rs" here.
        if (buff->variable->Name() != name) return;
        sum += contribution(*buff);
    });
    return sum;
}

// Letter by letter in line: the names asked are a few letters long, shorter than a call to
// compare them costs.
bool same_name(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t k = 0; k < a.size(); ++k) {
        if (a[k] != b[k]) return false;
    }
    return true;
}

// The field a name finds in a record's type. The registry is made once and never changes, so the
// answers are kept for the few names and types asked most (every monster's hp on every turn);
// finding a type by the record's class compares class names and costs far more than the read.
const TField* field_named(const Record& record, const std::string& name) {
    struct Kept {
        const std::type_info* type = nullptr;
        std::string name;
        const TField* field = nullptr;
    };
    static std::array<Kept, 8> kept;
    static size_t next = 0;
    const std::type_info* type = &typeid(record);
    for (const Kept& entry : kept) {
        if (entry.type == type && same_name(entry.name, name)) return entry.field;
    }
    const TTypeId* type_id = TTypeId::ForObject(record);
    const TField* field = type_id ? type_id->FindField(name) : nullptr;
    kept[next] = Kept{type, name, field};
    next = (next + 1) % kept.size();
    return field;
}

int32_t stored_value(const Record& record, const std::string& name) {
    const TField* field = field_named(record, name);
    return field ? field->GetInt(record) : 0;
}

}  // namespace

int32_t TPlayer::inc_buff(const std::string& name) const {
    const TTypeId* own_type = TTypeId::ForObject(*this);
    return sum_lasting_buffs(buffs, name, [&](const TBuff& buff) { return buff.wer == own_type; });
}

int32_t TPlayer::actual(const std::string& name) const {
    return stored_value(*this, name) + inc_buff(name);
}

int32_t TGegner::inc_buff(const std::string& name) const {
    return sum_lasting_buffs(buffs, name, [&](const TBuff& buff) {
        RecordRef owner = buff.ziel.lock();
        return owner.get() == static_cast<const Record*>(this);
    });
}

int32_t TGegner::actual(const std::string& name) const {
    return stored_value(*this, name) + inc_buff(name);
}

}  // namespace grotmere
