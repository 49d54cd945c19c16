// The player's per-pass upkeep (death, caps, level rise) and its per-turn health step.
#include "actors/buff.hpp"
#include "actors/player.hpp"
#include "base/random.hpp"
#include "platform/platform.hpp"
#include "world/karten_tile.hpp"
#include "world/message_log.hpp"
#include "world/teleport.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

constexpr int32_t kAttackCap = 98;
constexpr int32_t kDefenceCap = 95;
constexpr int32_t kArmourClassCap = 30;
constexpr int32_t kTurnsPerHealthPoint = 20;

// Attack is held at the cap by a one-pass correction, so the stored value keeps its gains; the
// defence cap overwrites the stored value instead.
void hold_fighting_caps(TPlayer& p) {
    int32_t attack = p.actual("attack");
    if (attack > kAttackCap) TBuff::setbuff("attack", kAttackCap - attack, p.shared_from_this());
    if (p.actual("defend") > kDefenceCap) p.defend = kDefenceCap;
}

void hold_health_caps(TPlayer& p) {
    int32_t hp = p.actual("hp");
    int32_t hpmax = p.actual("hpmax");
    if (hp > hpmax) TBuff::setbuff("hp", hpmax - hp, p.shared_from_this());
    if (p.hp > hpmax) p.hp = hpmax;
}

// One level per call: a larger surplus of experience is worked off on the following passes.
void rise_level(TPlayer& p) {
    if (p.xp < TPlayer::calc_level(p.level + 1)) return;
    p.level += 1;
    // Drawn in this order, so a seed replays the same gains.
    p.attack += random_range(1, 3);
    p.defend += random_range(1, 2);
    p.hpmax += random_range(2, 12);
    p.hp = p.hpmax;
    log_message("YOU'VE MADE A NEW LEVEL!");
    if (p.level % 3 == 0) p.rs += 3;
    if (p.rs > kArmourClassCap) p.rs = kArmourClassCap;
}

// Every teleport of the tile the player stood on when the step began acts, even after an earlier
// one has moved the player away; hidden ones too.
void travel_by_teleports(TPlayer& p) {
    TKartenTile* tile = map_tile(p.x, p.y);
    if (tile == nullptr) return;
    ListRef here = tile->object_list_if_any();
    if (!here) return;
    here->for_each_of<TTeleport>([&](std::shared_ptr<TTeleport>& teleport) {
        teleport->move(p);
        log_message("Zooom");
    });
}

// At full health the count waits where it is.
void regenerate(TPlayer& p) {
    if (p.hp >= p.actual("hpmax")) return;
    p.lastgain += 1;
    if (p.lastgain < kTurnsPerHealthPoint) return;
    p.hp += 1;
    p.lastgain = 0;
    log_message("You regain some constitution.");
}

}  // namespace

int32_t TPlayer::update() {
    if (actual("hp") <= 0) {
        notify("GAME OVER!");
        exit_program();
    }
    hold_fighting_caps(*this);
    hold_health_caps(*this);
    rise_level(*this);
    return 0;
}

int32_t TPlayer::updatehealth() {
    travel_by_teleports(*this);
    regenerate(*this);
    return 0;
}

int32_t TPlayer::calc_level(int32_t level) {
    if (level <= 1) return 0;
    return 50 * level * (level - 1);
}

}  // namespace grotmere
