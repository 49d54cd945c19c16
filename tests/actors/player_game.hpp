// A headless game with a player, the shipped key layout and a tiny map, for the player's tests.
//
//   PlayerGame: map({"111", "101", "111"}); place(1, 1); pass({hit(kRight)});
#pragma once

#include <string>
#include <vector>

#include "actors/gegner.hpp"
#include "actors/panzer.hpp"
#include "actors/player.hpp"
#include "actors/tastatur.hpp"
#include "actors/trank.hpp"
#include "actors/waffe.hpp"
#include "platform/key_codes.hpp"
#include "records/field_registry.hpp"
#include "tests/support/headless_game.hpp"
#include "tests/support/tiny_map.hpp"
#include "world/karten_tile.hpp"

namespace grotmere::testing {

inline constexpr int32_t kLeft = key::kLeft;
inline constexpr int32_t kUp = key::kUp;
inline constexpr int32_t kRight = key::kRight;
inline constexpr int32_t kDown = key::kDown;
inline constexpr int32_t kLook = 'L';
inline constexpr int32_t kGet = 'G';
inline constexpr int32_t kUse = 'U';
inline constexpr int32_t kReady = 'R';
inline constexpr int32_t kWait = 'W';
inline constexpr int32_t kToggleInv = 'I';
inline constexpr int32_t kToggleWorn = 'E';
inline constexpr int32_t kLeftShift = key::kLeftShift;
// The digit key of slot k (1 to 9); slot 10 is on "0".
inline constexpr int32_t slot_key(int32_t slot) {
    return slot == 10 ? '0' : '0' + slot;
}

// A potion of this effect text, drunk by the player or the given monster.
inline void drink(const std::string& wirkung, const RecordRef& drinker = player) {
    auto potion = new_record<TTrank>();
    potion->wirkung = wirkung;
    potion->parse_wirkung(drinker);
}

// The player wields a fresh weapon; a bow needs a reach and its ammunition's names.
inline std::shared_ptr<TWaffe> wield(const std::string& name, int32_t dmg, int32_t reichweite = 0,
                                     const std::string& munition = "") {
    player->waffe = new_record<TWaffe>();
    player->waffe->name = name;
    player->waffe->dmg = dmg;
    player->waffe->reichweite = reichweite;
    player->waffe->munition = munition;
    return player->waffe;
}

inline std::shared_ptr<TPanzer> wear(int32_t rs) {
    player->panzer = new_record<TPanzer>();
    player->panzer->rs = rs;
    return player->panzer;
}

class PlayerGame : public HeadlessGame {
protected:
    void SetUp() override {
        HeadlessGame::SetUp();
        bindings = new_record<TTastatur>();
        bindings->go_left = kLeft;
        bindings->go_up = kUp;
        bindings->go_right = kRight;
        bindings->go_down = kDown;
        bindings->look = kLook;
        bindings->get = kGet;
        bindings->use = kUse;
        bindings->ready_bow = kReady;
        bindings->wait = kWait;
        bindings->toggle_inv = kToggleInv;
        bindings->toggle_wearings = kToggleWorn;
        bindings->drop = kLeftShift;
        bindings->inv_10 = slot_key(10);
        int32_t* slots[] = {&bindings->inv_1, &bindings->inv_2, &bindings->inv_3,
                            &bindings->inv_4, &bindings->inv_5, &bindings->inv_6,
                            &bindings->inv_7, &bindings->inv_8, &bindings->inv_9};
        for (int32_t k = 1; k <= 9; ++k)
            *slots[k - 1] = slot_key(k);
        // Level 1 with no experience: no level rise disturbs the tests.
        player = TPlayer::create("Aldric", 30, 1, 1, 50, 30, 3);
        player->level = 1;
        map({"00000", "00000", "00000", "00000", "00000"});
    }

    static void map(const std::vector<std::string>& rows) { make_map(rows); }
    static void place(int32_t x, int32_t y) {
        player->x = x;
        player->y = y;
    }
    static TKartenTile& tile(int32_t x, int32_t y) { return *tile_grid.at(x, y); }
    // Puts the record on the tile's object list, as the map loader does, and lets closed doors
    // block their tiles at once, as a pass would.
    template <class T>
    static std::shared_ptr<T> put(int32_t x, int32_t y, std::shared_ptr<T> record) {
        tile(x, y).gegenstaende()->append(record);
        TKarte::update();
        return record;
    }
    static std::shared_ptr<TGegner> monster(const std::string& name, int32_t x, int32_t y,
                                            int32_t hp) {
        auto made = new_record<TGegner>();
        made->name = name;
        made->x = x;
        made->y = y;
        made->hp = hp;
        monsters->append(made);
        return made;
    }
    static const std::string& newest() { return message_lines[0]; }
    // The log, newest first, without its empty lines.
    static std::vector<std::string> log() {
        std::vector<std::string> lines;
        for (const std::string& line : message_lines) {
            if (!line.empty()) lines.push_back(line);
        }
        return lines;
    }
};

}  // namespace grotmere::testing
