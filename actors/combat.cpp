// One blow between the player and a monster, each way. A first hundred-sided roll against the
// attacker's attack and luck decides: every roll at or below luck is a critical blow, whatever
// the attack; a roll at or below attack and above luck an ordinary hit, which the defender may
// parry and armour may absorb; anything else a miss. A critical blow ignores parry and armour.
// The blow lowers the defender's stored hp; deaths are found later, by their owners' checks.
#include <limits>

#include "actors/gegner.hpp"
#include "actors/geschoss.hpp"
#include "actors/panzer.hpp"
#include "actors/player.hpp"
#include "actors/waffe.hpp"
#include "base/random.hpp"
#include "base/text.hpp"
#include "world/message_log.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

enum class Outcome { Hit, Critical, Miss };

Outcome outcome_of(int32_t roll, int32_t attack, int32_t luck) {
    if (roll <= attack && roll > luck) return Outcome::Hit;
    if (roll <= luck) return Outcome::Critical;
    return Outcome::Miss;
}

// The game works the factor 1.2 in single precision and cuts the result toward zero; for whole
// values below 1.7 million in size that is exactly 6v / 5. A result beyond the 32-bit range,
// which only absurd data could give, stays at the nearest end instead of being undefined.
constexpr float kOnePointTwo = 1.2F;

int32_t cut_toward_zero(float value) {
    if (value >= 2147483648.0F) return std::numeric_limits<int32_t>::max();
    if (value < -2147483648.0F) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

int32_t times_one_point_two(int32_t value) {
    return cut_toward_zero(static_cast<float>(value) * kOnePointTwo);
}

// The critical die of a damage value: from half of it (plus one) to 1.2 times it.
int32_t critical_die(int32_t damage) {
    return random_range(damage / 2 + 1, times_one_point_two(damage));
}

// --- the player strikes ---------------------------------------------------------------------

// The weapon's die is drawn after the player's own, and armour comes off the sum.
void ordinary_hit_on(const TPlayer& p, TGegner& monster, std::string& line) {
    if (random_range(1, 100) <= monster.actual("defend"))
        return append_joined(line, {" but ", monster.name, " parries well."});
    int32_t damage = random_range(1, p.actual("dmg"));
    if (p.waffe) damage += random_range(1, p.waffe->dmg);
    damage -= monster.actual("rs");
    if (damage <= 0)
        return append_joined(line, {" but ", monster.name, "s armor absorbs all damage."});
    monster.hp -= damage;
    append_joined(line, {" for ", Decimal(damage), " points"});
}

// The weapon's share, w x 1.2, joins the base in single precision before the sum is cut, so
// base 4 and w 5 give 10 and base 3 and w 3 give 6.
int32_t critical_on(const TPlayer& p, TGegner& monster) {
    const int32_t base = critical_die(p.actual("dmg"));
    int32_t total = base;
    if (p.waffe) {
        const int32_t w = random_range(p.waffe->dmg / 2 + 1, p.waffe->dmg);
        // Two statements, so that no compiler fuses them into one rounding.
        const float share = static_cast<float>(w) * kOnePointTwo;
        total = cut_toward_zero(static_cast<float>(base) + share);
    }
    monster.hp -= total;
    return total;
}

// --- a monster strikes ----------------------------------------------------------------------

// A monster's blows use its stored dmg: buffs on a monster's damage never reach them. Worn armour
// counts against an ordinary hit only.
void ordinary_hit_on_player(const TGegner& monster, TPlayer& p, std::string& line) {
    if (random_range(1, 100) <= p.actual("defend"))
        return append_joined(line, {" but you parry well."});
    int32_t damage = random_range(1, monster.dmg) - p.actual("rs");
    if (p.panzer) damage -= p.panzer->rs;
    if (damage <= 0) return append_joined(line, {" but your Armor absorbs all damage."});
    p.hp -= damage;
    note_harm(monster.name);
    append_joined(line, {" for ", Decimal(damage), " Points"});
}

// A blow's line is written into storage kept between blows: a fight logs a line every turn.
std::string& blow_line() {
    static std::string line;
    return line;
}

void melee_blow(const TGegner& monster, int32_t roll) {
    TPlayer& p = *player;
    std::string& line = blow_line();
    assign_joined(line, {monster.name, " attacks you "});
    switch (outcome_of(roll, monster.actual("attack"), monster.actual("luck"))) {
        case Outcome::Hit:
            line.append("and hits");
            ordinary_hit_on_player(monster, p, line);
            break;
        case Outcome::Critical: {
            const int32_t damage = critical_die(monster.dmg);
            p.hp -= damage;
            note_harm(monster.name);
            append_joined(line, {"and hits CRITICALLY for ", Decimal(damage), " points."});
            break;
        }
        case Outcome::Miss:
            line.append("but misses.");
            break;
    }
    log_message(line);
}

// The shot aims with the stored attack; whether it strikes is the missile's to find out.
void shoot(const TGegner& monster, int32_t richtung) {
    TGeschoss::create(richtung, monster.attack_range, monster.range_dmg, monster.x, monster.y,
                      monster.attack);
    log_message({"You are attacked by ", monster.name});
}

}  // namespace

int32_t TPlayer::attackiere(TGegner& monster) {
    const int32_t roll = random_range(1, 100);
    std::string& line = blow_line();
    assign_joined(line, {"You attack ", monster.name, " "});
    switch (outcome_of(roll, actual("attack"), actual("luck"))) {
        case Outcome::Hit:
            line.append("and hit");
            ordinary_hit_on(*this, monster, line);
            break;
        case Outcome::Critical:
            append_joined(line, {"and HIT CRITICALLY for ", Decimal(critical_on(*this, monster)),
                                 " points!"});
            break;
        case Outcome::Miss:
            line.append("but miss.");
            break;
    }
    log_message(line);
    return 0;
}

// The roll is drawn first in every case; a shot leaves it unused.
int32_t TGegner::attackiere(int32_t code) {
    const int32_t roll = random_range(1, 100);
    if (!player) return 0;
    if (code % 1000 == 1)
        melee_blow(*this, roll);
    else
        shoot(*this, code / 1000);
    return 0;
}

}  // namespace grotmere
