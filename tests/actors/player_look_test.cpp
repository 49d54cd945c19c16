// The look action: what it reports around the player and the search for hidden doors.
#include <gtest/gtest.h>

#include "actors/trank.hpp"
#include "actors/treasure.hpp"
#include "tests/actors/player_game.hpp"
#include "world/door.hpp"
#include "world/teleport.hpp"
#include "world/tile_writes.hpp"

namespace grotmere::testing {
namespace {

std::shared_ptr<TDoor> door(const std::string& name, int32_t open, int32_t locked) {
    auto made = new_record<TDoor>();
    made->name = name;
    made->open = open;
    made->locked = locked;
    return made;
}

class Looking : public PlayerGame {
protected:
    // The lines of one look, newest first.
    static std::vector<std::string> look() {
        message_lines.fill("");
        player->look();
        return log();
    }
};

TEST_F(Looking, NothingAround) {
    put(3, 3, door("Far Door", 0, 0));
    monster("Rat", 3, 1, 4);
    EXPECT_EQ(look(), (std::vector<std::string>{"There is nothing special around."}));
}

TEST_F(Looking, DoorsTeleportsAndMonstersInScanOrder) {
    put(2, 0, door("Iron Door", 0, 1));
    put(0, 2, door("Oak Door", 0, 0));
    put(0, 2, door("Arch", 1, 0));
    auto portal = put(0, 2, new_record<TTeleport>());
    portal->name = "Portal";
    put(1, 1, new_record<TTeleport>())->secret = 1;
    auto rat = monster("Rat", 2, 2, 9);
    auto potion = new_record<TTrank>();
    potion->wirkung = "hp-2'3";
    potion->parse_wirkung(rat);
    // Newest first: the tiles column by column, doors before teleports, then the monsters.
    EXPECT_EQ(look(), (std::vector<std::string>{
                          "There is a(n) Rat. It has 7 HP left.",
                          "There is a locked Iron Door.",
                          "You see Portal",
                          "There is a  Arch.",
                          "There is a closed Oak Door.",
                      }));
}

TEST_F(Looking, TreasuresWithGoldAndStacks) {
    auto heap = new_record<TTreasure>();
    heap->x = 2;
    heap->y = 2;
    heap->gold = 12;
    for (int32_t anzahl : {1, 3}) {
        auto item = new_record<TGegenstand>();
        item->name = "Arrow";
        item->anzahl = anzahl;
        heap->drop->append(item);
    }
    treasures->append(heap);
    auto empty = new_record<TTreasure>();
    empty->x = 0;
    treasures->append(empty);
    EXPECT_EQ(look(), (std::vector<std::string>{
                          "There are 3 Arrows on the floor.",
                          "There is a Arrow on the floor.",
                          "There are 12 pieces of Gold on the floor.",
                      }))
        << "an empty heap around counts as something found";
}

TEST_F(Looking, TheDiscoveryRollIsMeasuredAgainstTheLightOfThePlayersTile) {
    auto hidden = put(2, 1, door("Secret Door", 0, 0));
    hidden->secret = 1;
    player->perception = -1;  // the best roll, 100, falls one short in the dark
    write_tile(2, 1)->lichtstaerke = 100;
    for (int tries = 0; tries < 20; ++tries)
        EXPECT_EQ(look(), (std::vector<std::string>{"There is nothing special around."}));
    EXPECT_EQ(hidden->secret, 1);

    write_tile(1, 1)->lichtstaerke = 100;
    EXPECT_EQ(look(), (std::vector<std::string>{"You discovered a secret Door!"}))
        << "a door found is not also described in the same look";
    EXPECT_EQ(hidden->secret, 0);
    EXPECT_EQ(look(), (std::vector<std::string>{"There is a closed Secret Door."}));
}

}  // namespace
}  // namespace grotmere::testing
