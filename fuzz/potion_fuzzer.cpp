// Feeds arbitrary bytes to a potion's effect text, drunk by the player and by a monster, then runs
// the buff ticks and reads every effective value, as the game does after a potion. Whatever the
// text, nothing may divide by 0 or overflow a division, and the ticks must survive buffs ending
// while their lists are walked.
#include <cstddef>
#include <cstdint>
#include <string>

#include "actors/buff.hpp"
#include "actors/gegner.hpp"
#include "actors/player.hpp"
#include "actors/trank.hpp"
#include "records/field_registry.hpp"
#include "run/record_types.hpp"
#include "world/world_state.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace grotmere;
    register_record_types();
    player = TPlayer::create("Fuzz", 30, 1, 1, 50, 30, 3);
    auto monster = new_record<TGegner>();
    monster->hp = 10;
    monsters->append(monster);

    auto potion = new_record<TTrank>();
    potion->wirkung.assign(reinterpret_cast<const char*>(data), size);
    potion->parse_wirkung(player);
    potion->parse_wirkung(monster);
    const char* names[] = {"hp", "hpmax", "xp",   "attack",    "defend",
                           "rs", "dmg",   "luck", "perception"};
    for (int tick = 0; tick < 4; ++tick) {
        TBuff::update(tick % 2);
        for (const char* name : names) {
            (void)player->actual(name);
            (void)monster->actual(name);
        }
    }
    monsters->clear();
    player = nullptr;
    return 0;
}
