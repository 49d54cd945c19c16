#include "actors/buff.hpp"

#include <variant>

#include "actors/buff_arithmetic.hpp"
#include "actors/gegner.hpp"
#include "actors/player.hpp"
#include "base/text.hpp"
#include "platform/platform.hpp"
#include "records/field_registry.hpp"
#include "world/message_log.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

enum class Tick { PerTurn, PerPass };

// A per-turn buff changes its owner's stored field, also in the tick that has just ended it, so
// one of duration n acts exactly n times.
void run_per_turn_effect(const TBuff& buff) {
    RecordRef owner = buff.ziel.lock();
    if (!owner || buff.variable == nullptr) return;
    const int32_t before = buff.variable->GetInt(*owner);
    change_field(*owner, *buff.variable, buff.operand, buff.wert);
    if (owner == player && buff.variable->Name() == "hp" && buff.variable->GetInt(*owner) < before)
        note_harm(buff.source.empty() ? "lasting effect"
                                      : "lasting effect of " + with_article(buff.source));
}

// A player or monster moved off the map would stand on no tile, where no rule can reach it.
bool leaves_map(const Record& owner, const TField& field, int32_t value) {
    const bool is_x = field.Name() == "x";
    if (!is_x && field.Name() != "y") return false;
    const auto* player_owner = dynamic_cast<const TPlayer*>(&owner);
    const auto* monster_owner = dynamic_cast<const TGegner*>(&owner);
    if (player_owner != nullptr) {
        return !inside_map(is_x ? value : player_owner->x, is_x ? player_owner->y : value);
    }
    if (monster_owner != nullptr) {
        return !inside_map(is_x ? value : monster_owner->x, is_x ? monster_owner->y : value);
    }
    return false;
}

// Silent corrections count passes, all other buffs count turns.
bool counted_in(const TBuff& buff, Tick tick) {
    return tick == Tick::PerTurn ? buff.silent == 0 : buff.silent != 0;
}

// The farewell stays a plain text until a buff actually ends: the ticks visit every monster on
// every pass, and most of them have nothing to say.
void tick_buff(RecordList& list, const std::shared_ptr<TBuff>& buff, Tick tick,
               const char* farewell) {
    if (counted_in(*buff, tick)) {
        ++buff_changes;
        buff->wirkzeit -= 1;
        if (buff->wirkzeit == 0) {
            list.remove_visited(buff.get());
            if (buff->silent == 0) {
                print_line("A buff has been deleted");
                log_message(farewell);
            }
        }
    }
    if (tick == Tick::PerTurn && buff->multi == 1) run_per_turn_effect(*buff);
}

void tick_list(const ListRef& list, Tick tick, const char* farewell) {
    if (!list || list->empty()) return;
    list->for_each_of<TBuff>(
        [&](std::shared_ptr<TBuff>& buff) { tick_buff(*list, buff, tick, farewell); });
}

bool carries_buffs(const TTypeId& type) {
    return type.Name() == "TPlayer" || type.Name() == "TGegner";
}

}  // namespace

void change_field(Record& owner, const TField& field, const std::string& operand, int32_t wert) {
    std::optional<int32_t> changed = apply_operand(field.GetInt(owner), operand, wert);
    if (changed && !leaves_map(owner, field, *changed)) field.SetInt(owner, *changed);
}

ListRef buff_list_of(const Record& target) {
    const TTypeId* type = TTypeId::ForObject(target);
    if (type == nullptr || !carries_buffs(*type)) return nullptr;
    const TField* field = type->FindField("buffs");
    if (field == nullptr) return nullptr;
    FieldValue value = field->Get(target);
    const ListRef* list = std::get_if<ListRef>(&value);
    return list ? *list : nullptr;
}

void attach_buff(const RecordRef& target, const TField& field, const BuffTerms& terms) {
    ListRef list = target ? buff_list_of(*target) : nullptr;
    if (!list) return;
    auto buff = new_record<TBuff>();
    buff->wer = TTypeId::ForObject(*target);
    buff->variable = &field;
    buff->wirkzeit = terms.wirkzeit;
    buff->startwert = field.GetInt(*target);
    buff->wert = terms.wert;
    buff->ziel = target;
    buff->operand = terms.operand;
    buff->multi = terms.multi;
    buff->silent = terms.silent;
    buff->source = terms.source;
    list->append(buff);
    ++buff_changes;
}

int32_t TBuff::setbuff(const std::string& name, int32_t amount, const RecordRef& target) {
    const TTypeId* type = target ? TTypeId::ForObject(*target) : nullptr;
    const TField* field = type ? type->FindField(name) : nullptr;
    if (field == nullptr) return 0;
    attach_buff(target, *field,
                BuffTerms{.operand = "+", .wert = amount, .wirkzeit = 1, .silent = 1});
    return 0;
}

int32_t TBuff::update(int32_t phase) {
    if (existing() == 0) return 0;
    Tick tick = phase == 0 ? Tick::PerTurn : Tick::PerPass;
    if (player) tick_list(player->buffs, tick, "You feel different.");
    monsters->for_each_of<TGegner>([&](std::shared_ptr<TGegner>& monster) {
        tick_list(monster->buffs, tick, "Monster feels different.");
    });
    return 0;
}

}  // namespace grotmere
