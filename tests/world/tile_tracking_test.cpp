// The whole-map walks that visit only the tiles they have work on: the walkability update, the
// darkening and the door, switch and light passes must leave every tile as a walk of the whole
// map would.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "actors/player.hpp"
#include "actors/treasure.hpp"
#include "actors/world_passes.hpp"
#include "base/random.hpp"
#include "tests/world/world_test_support.hpp"
#include "world/door.hpp"
#include "world/karte.hpp"
#include "world/leuchte.hpp"
#include "world/mobiliar.hpp"
#include "world/teleport.hpp"
#include "world/tile_writes.hpp"

namespace grotmere {
namespace {

using TileTracking = testing::WorldTest;

std::vector<int32_t> walkability() {
    std::vector<int32_t> all;
    for (int32_t x = 0; x < map_width; ++x) {
        for (int32_t y = 0; y < map_height; ++y)
            all.push_back(tile_grid.at(x, y)->begehbar);
    }
    return all;
}

// The walkability rule itself: rock never, else not with blocking furniture or a closed door.
std::vector<int32_t> walkability_by_the_rule() {
    std::vector<int32_t> all;
    for (int32_t x = 0; x < map_width; ++x) {
        for (int32_t y = 0; y < map_height; ++y) {
            const TKartenTile& t = *tile_grid.at(x, y);
            bool blocked = t.ID == TKarte::MAP_SOLID;
            t.gegenstaende()->for_each([&](RecordRef& record) {
                if (auto* piece = dynamic_cast<TMobiliar*>(record.get()))
                    blocked |= piece->blocks == 1;
                if (auto* door = dynamic_cast<TDoor*>(record.get())) blocked |= door->open == 0;
            });
            all.push_back(blocked ? 0 : 1);
        }
    }
    return all;
}

// The frame asks the marks, not the tiles, whether a cell may be seen: every seen tile must say so.
bool every_seen_tile_is_marked() {
    for (int32_t x = 0; x < map_width; ++x) {
        for (int32_t y = 0; y < map_height; ++y) {
            if (tile_grid.at(x, y)->sichtbar != 0 && !tile_tracking.may_be_seen(x, y)) return false;
        }
    }
    return true;
}

// The map view asks the tracker, not the tiles, which cells hold doors or teleports.
bool door_and_teleport_cells_are_known() {
    tile_tracking.bring_up_to_date();
    for (int32_t x = 0; x < map_width; ++x) {
        for (int32_t y = 0; y < map_height; ++y) {
            bool holds = false;
            if (RecordList* objects = tile_grid.at(x, y)->objects_if_any()) {
                holds = objects->any_of<TDoor>([](const TDoor&) { return true; }) ||
                        objects->any_of<TTeleport>([](const TTeleport&) { return true; });
            }
            if (holds != tile_tracking.holds_door_or_teleport(x, y)) return false;
        }
    }
    return true;
}

int32_t lit_or_seen_tiles() {
    int32_t count = 0;
    for (int32_t x = 0; x < map_width; ++x) {
        for (int32_t y = 0; y < map_height; ++y) {
            const TKartenTile& t = *tile_grid.at(x, y);
            count += (t.sichtbar | t.lichtstaerke | t.lichtr | t.lichtg | t.lichtb) != 0 ? 1 : 0;
        }
    }
    return count;
}

// Turns of a world whose objects keep changing: doors open and close, furniture comes to block,
// lights are placed on tiles that held nothing; after each update and darkening every tile of the
// map is checked.
TEST_F(TileTracking, TrackedWalksLeaveTheTilesAsWholeWalksWould) {
    seed_random(99);
    testing::make_map(std::vector<std::string>(24, std::string(30, '0')));
    karte->randomfill(150);
    TKarte::update();
    game_camera();
    std::vector<std::shared_ptr<TDoor>> doors;
    for (int32_t turn = 0; turn < 300; ++turn) {
        const int32_t x = random_range(0, map_width - 1);
        const int32_t y = random_range(0, map_height - 1);
        switch (random_range(0, 5)) {
            case 0: {
                auto door = new_record<TDoor>();
                door->open = random_range(0, 1);
                tile(x, y).gegenstaende()->append(door);
                doors.push_back(door);
                break;
            }
            case 1: {
                auto piece = new_record<TMobiliar>();
                piece->blocks = 1;
                tile(x, y).gegenstaende()->append(piece);
                break;
            }
            case 2:
                light_on_tile(x, y);
                break;
            case 3:
                tile(x, y).gegenstaende()->append(new_record<TTeleport>());
                break;
            default:
                if (!doors.empty()) {
                    auto& door = doors[static_cast<size_t>(random_range(0, doors.size() - 1))];
                    door->open = 1 - door->open;
                }
        }
        TKarte::darken();
        ASSERT_EQ(lit_or_seen_tiles(), 0) << "turn " << turn;
        kamera->in_sight(x, y, 5);
        TDoor::update();
        kamera->in_sight(x, y, 5);
        shine_lying_lights();
        ASSERT_TRUE(every_seen_tile_is_marked()) << "turn " << turn;
        ASSERT_TRUE(door_and_teleport_cells_are_known()) << "turn " << turn;
        if (turn % 3 == 0) {
            ASSERT_GT(lit_or_seen_tiles(), 0);
        }
        TKarte::update();
        ASSERT_EQ(walkability(), walkability_by_the_rule()) << "turn " << turn;
    }
}

std::vector<int32_t> sight_and_light_values() {
    std::vector<int32_t> all;
    for (int32_t x = 0; x < map_width; ++x) {
        for (int32_t y = 0; y < map_height; ++y) {
            const TKartenTile& t = *tile_grid.at(x, y);
            all.insert(all.end(),
                       {t.sichtbar, t.erfasst, t.lichtstaerke, t.lichtr, t.lichtg, t.lichtb});
        }
    }
    return all;
}

// Turns of a walking player with a torch that burns out, lights of every reach lying on tiles
// and in a heap, some going out and coming back; each turn's sight and light values, darkened
// by the turn's darkening (split) or a whole one before the light pass.
class TurnDarkening : public testing::WorldTest {
protected:
    // split: the turn's darkening instead of a whole one; fast: the fast paths trusted, unchecked.
    static std::vector<std::vector<int32_t>> lit_turns(bool split, bool fast = false);
};

std::vector<std::vector<int32_t>> TurnDarkening::lit_turns(bool split, bool fast) {
    reset_world();
    check_unchanged_frames(!fast);
    seed_random(7);
    testing::make_map(std::vector<std::string>(24, std::string(30, '0')));
    karte->randomfill(120);
    TKarte::update();
    game_camera();
    player = new_record<TPlayer>();
    player->x = 12;
    player->y = 10;
    player->leuchte = light(5, 25);
    std::vector<std::shared_ptr<TLeuchte>> lying;
    auto door = new_record<TDoor>();
    tile_grid.at(14, 10)->gegenstaende()->append(door);
    tile_grid.at(15, 10)->gegenstaende()->append(light(5, -1));
    for (const int32_t reach : {0, 1, 3, 5, 5, 5, 8, 20, 70}) {
        auto lamp = light(reach, random_range(-1, 40));
        lamp->r = random_range(0, 200);
        tile_grid.at(random_range(0, 29), random_range(0, 23))->gegenstaende()->append(lamp);
        lying.push_back(lamp);
    }
    auto heap = new_record<TTreasure>();
    heap->x = 25;
    heap->y = 4;
    heap->drop->append(light(4, -1));
    treasures->append(heap);
    std::vector<std::vector<int32_t>> turns;
    for (int32_t turn = 0; turn < 60; ++turn) {
        player->x = std::clamp(player->x + random_range(-1, 1), 0, 29);
        player->y = std::clamp(player->y + random_range(-1, 1), 0, 23);
        auto& toggled = lying[static_cast<size_t>(random_range(0, 8))];
        toggled->brennt = 1 - toggled->brennt;
        // A door beside a lamp opens and closes: the walls the lamp's light meets change.
        door->open = turn % 3 == 0 ? 1 - door->open : door->open;
        TDoor::update();
        if (split)
            TKarte::darken_sight();
        else
            TKarte::darken();
        kamera->in_sight(player->x, player->y, 5);
        see_own_tile(player->x, player->y);
        update_lights();
        turns.push_back(sight_and_light_values());
    }
    return turns;
}

TEST_F(TurnDarkening, LightsAsAWholeDarkeningWould) {
    const std::vector<std::vector<int32_t>> whole = lit_turns(false);
    const std::vector<std::vector<int32_t>> split = lit_turns(true);
    const std::vector<std::vector<int32_t>> fast = lit_turns(true, true);
    check_unchanged_frames(true);
    ASSERT_EQ(whole.size(), split.size());
    ASSERT_EQ(whole.size(), fast.size());
    for (size_t turn = 0; turn < whole.size(); ++turn) {
        ASSERT_EQ(whole[turn], split[turn]) << "turn " << turn + 1;
        ASSERT_EQ(whole[turn], fast[turn]) << "turn " << turn + 1 << ", unchecked";
    }
    EXPECT_NE(whole.front(), whole.back());
}

TEST_F(TileTracking, ATileThatLosesItsClosedDoorIsWalkableAgain) {
    testing::make_map({"000", "000"});
    auto door = new_record<TDoor>();
    tile(1, 1).gegenstaende()->append(door);
    TKarte::update();
    EXPECT_EQ(tile(1, 1).begehbar, 0);
    tile(1, 1).gegenstaende()->remove(door);
    TKarte::update();
    EXPECT_EQ(tile(1, 1).begehbar, 1);
}

// A write the tracker is not told of fails at the next walk that trusts the tracker; one through
// write_tile is looked at.
TEST_F(TileTracking, WritesOutsideTheRulesThrowUnlessAnnounced) {
    testing::make_map({"0000", "0000"});
    TKarte::darken();
    tile(1, 1).ID = TKarte::MAP_SOLID;
    EXPECT_THROW(TKarte::update(), std::logic_error);
    tile(3, 1).sichtbar = 1;
    EXPECT_THROW(TKarte::darken(), std::logic_error);
    write_tile(1, 1)->ID = TKarte::MAP_SOLID;
    write_tile(2, 0)->lichtg = 7;
    EXPECT_TRUE(tile_tracking.may_be_seen(3, 1));
    EXPECT_FALSE(tile_tracking.may_be_seen(2, 1));
    TKarte::update();
    TKarte::darken();
    EXPECT_EQ(tile(1, 1).begehbar, 0);
    EXPECT_EQ(tile(2, 0).lichtg, 0);
    // Sight reads the walls it knows; a wall put up behind their back is found as well.
    game_camera()->in_sight(0, 0, 5);
    tile(2, 0).begehbar = 0;
    EXPECT_THROW(TKarte::darken(), std::logic_error);
}

// The light pass keeps its shinings and lights again only what changed: a light value written
// behind its back, far from any change, is found by the check that follows the pass.
TEST_F(TileTracking, ALightValueTheLightPassWasNotToldOfThrows) {
    testing::make_map(std::vector<std::string>(20, std::string(20, '0')));
    light_on_tile(3, 3);
    for (int32_t turn = 0; turn < 2; ++turn) {
        TKarte::darken_sight();
        update_lights();
    }
    EXPECT_EQ(tile(3, 4).lichtstaerke, 100);
    tile(3, 4).lichtstaerke = 7;
    TKarte::darken_sight();
    EXPECT_THROW(update_lights(), std::logic_error);
}

// A cell lit while the map was larger lies outside it once the map shrinks: darkening keeps to
// the map rectangle, and the cell is darkened when the map grows back.
TEST_F(TileTracking, DarkeningKeepsToTheMapRectangle) {
    testing::make_map(std::vector<std::string>(8, std::string(8, '0')));
    TKarte::darken();
    light()->erleuchte(6, 6);
    map_width = 5;
    TKarte::darken();
    EXPECT_GT(tile(6, 6).lichtstaerke, 0);
    EXPECT_EQ(tile(4, 6).lichtstaerke, 0);
    map_width = 8;
    TKarte::darken();
    EXPECT_EQ(tile(6, 6).lichtstaerke, 0);
}

// Lights and sight in every corner and along every edge of the largest map, where the marks of
// a square's columns run past the grid: each lit or seen cell is darkened again.
TEST_F(TileTracking, EveryCellLitAtTheGridsEdgesIsDarkenedAgain) {
    testing::make_map(std::vector<std::string>(256, std::string(256, '0')));
    TKarte::darken();
    game_camera();
    for (int32_t x : {0, 1, 4, 5, 6, 60, 63, 64, 250, 254, 255}) {
        for (int32_t y : {0, 3, 5, 58, 59, 60, 64, 250, 251, 255}) {
            light()->erleuchte(x, y);
            kamera->in_sight(x, y, 5);
        }
    }
    ASSERT_GT(lit_or_seen_tiles(), 0);
    TKarte::darken();
    EXPECT_EQ(lit_or_seen_tiles(), 0);
}

}  // namespace
}  // namespace grotmere
