// The morgue file: what ended the run, by the chronicle the rules keep beside them, and the map as
// the player saw it.
#include "files/morgue.hpp"

#include <gtest/gtest.h>

#include "actors/buff.hpp"
#include "actors/trank.hpp"
#include "actors/treasure.hpp"
#include "base/random.hpp"
#include "tests/actors/player_game.hpp"
#include "world/door.hpp"
#include "world/tile_writes.hpp"

namespace grotmere::testing {
namespace {

using Morgue = PlayerGame;

bool holds(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST_F(Morgue, NamesTheMonsterThatStruckLastAndTheMonstersSlain) {
    auto orc = monster("Orc", 2, 1, 10);
    orc->attack = 100;
    orc->dmg = 50;
    player->defend = 0;
    player->luck = 0;
    for (int32_t seed = 1; seed < 200 && player->hp == 30; ++seed) {
        seed_random(seed);
        orc->attackiere(1001);
    }
    ASSERT_LT(player->hp, 30) << "no blow landed";
    EXPECT_EQ(world_state.chronicle.last_harm, "Orc");

    auto rat = monster("Rat", 3, 3, 0);
    rat->update_gegner();
    auto other = monster("Rat", 3, 3, 0);
    other->update_gegner();
    MorgueFacts facts{"2026-12-07 10:00:00", 42, "death", 7, 99, {"a", "b"}, "/usr/share/grotmere"};
    facts.recording = "/r/seed42.keys";
    const std::string text = morgue_text(facts);
    EXPECT_TRUE(holds(text, "Aldric was killed by an Orc.\n")) << text;
    EXPECT_TRUE(holds(text, "Seed: 42\nData: /usr/share/grotmere\nRecording: /r/seed42.keys\n"));
    EXPECT_TRUE(holds(text, "Turns: 7  Passes: 99\n"));
    EXPECT_TRUE(holds(text, "Monsters slain:\n  Rat x2\n")) << text;
    EXPECT_TRUE(holds(text, "Last messages, oldest first:\n  a\n  b\n"));
}

TEST_F(Morgue, SaysHowEveryOtherRunEnded) {
    EXPECT_TRUE(holds(morgue_text({"", 1, "escape", 0, 0, {}, ""}), "Aldric quit the game."));
    EXPECT_TRUE(holds(morgue_text({"", 1, "close", 0, 0, {}, ""}), "the window was closed"));
    EXPECT_TRUE(holds(morgue_text({"", 1, "death", 0, 0, {}, ""}), "killed by something"));
}

TEST_F(Morgue, TheMapShowsWhatWasSeenWithTheWallsAroundIt) {
    map({"1111", "1001", "1001", "1111"});
    for (int32_t x = 1; x <= 2; ++x) {
        for (int32_t y = 1; y <= 2; ++y)
            write_tile(x, y)->erfasst = 1;
    }
    auto door = new_record<TDoor>();
    tile(2, 2).gegenstaende()->append(door);
    TTreasure::drop_gold(2, 1, 5);
    place(1, 2);
    EXPECT_EQ(seen_map_rows(), (std::vector<std::string>{"####", "#.T#", "#Q+#", "####"}));
}

// A closed door blocks the view, so it is never seen itself: it shows beside the floor seen.
TEST_F(Morgue, AClosedDoorShowsBesideTheFloorSeenAndALastingEffectNamesItsPotion) {
    map({"11111", "10001", "11111"});
    tile(1, 1).erfasst = tile(2, 1).erfasst = 1;
    tile(3, 1).gegenstaende()->append(new_record<TDoor>());
    tile(3, 1).begehbar = 0;
    place(1, 1);
    EXPECT_EQ(seen_map_rows(), (std::vector<std::string>{"####", "#Q.+", "####"}));

    auto potion = new_record<TTrank>();
    potion->name = "Murky Draught";
    potion->wirkung = "hp-2#3";
    potion->parse_wirkung(player);
    TBuff::update(0);
    EXPECT_EQ(world_state.chronicle.last_harm, "lasting effect of a Murky Draught");
}

}  // namespace
}  // namespace grotmere::testing
