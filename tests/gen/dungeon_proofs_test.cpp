// Each of the generator's proofs catches a dungeon made by hand to break it, and passes the same
// dungeon mended. The dungeon: two depths side by side, a wall with a doorway across the first,
// the first depth's stair down in its east end.
#include <gtest/gtest.h>

#include "gen/dungeon_check.hpp"

namespace grotmere::gen {
namespace {

Dungeon two_depths() {
    Dungeon d;
    d.rows = {"#####################",  //
              "#.....#...#.........#",  //
              "#.........#.........#",  //
              "#.....#...#.........#",  //
              "#####################"};
    for (std::string& row : d.rows)
        for (char& c : row)
            c = c == '#' ? char(Terrain::Rock) : char(Terrain::Floor);
    d.width = int32_t(d.rows[0].size());
    d.height = int32_t(d.rows.size());
    Depth first, second;
    first.area = {1, 1, 9, 3};
    first.arrival = {1, 2};
    first.stair = {9, 2};
    second.area = {11, 1, 19, 3};
    second.arrival = {13, 2};
    d.depths = {first, second};
    Room start;
    start.x0 = 1, start.y0 = 1, start.x1 = 2, start.y1 = 3;
    d.rooms = {start};
    d.start = {1, 2};
    d.exit = {19, 2};
    d.teleports = {{"Stair Down", {9, 2}, {13, 2}}};
    return d;
}

bool names(const std::vector<std::string>& faults, const std::string& part) {
    return std::any_of(faults.begin(), faults.end(), [&](const std::string& fault) {
        return fault.find(part) != std::string::npos;
    });
}

TEST(DungeonProofs, NothingClimbs) {
    Dungeon d = two_depths();
    EXPECT_TRUE(climb_faults(d).empty());
    d.teleports.push_back({"Portal", {18, 1}, {2, 1}});
    EXPECT_TRUE(names(climb_faults(d), "leads up from depth 2 to depth 1"));
    d = two_depths();
    d.rows[2][10] = char(Terrain::Corridor);  // a gap in the seam between the depths
    EXPECT_TRUE(names(climb_faults(d), "a step joins (9|2) on depth 1 and (10|2)"));
}

TEST(DungeonProofs, NoStrongMonsterReachesTheStartEarly) {
    Dungeon d = two_depths();
    d.spawns = {{"Rat", {8, 1}, 1}, {"Troll", {16, 2}, 4}};
    EXPECT_TRUE(start_region_faults(d).empty());
    // A troll on the first depth, eight steps from the start room: a locked door does not count,
    // the player may open it.
    d.spawns.push_back({"Troll", {9, 1}, 4});
    d.doors = {{"Oak Door", {6, 2}, true, 5}};
    EXPECT_TRUE(names(start_region_faults(d), "can reach the start room at (2|2) in 8 turns"));
    // Carried by a portal: it steps on in the first turn, out and beside the start in the second.
    d = two_depths();
    for (int32_t y = 1; y <= 3; ++y)
        d.rows[y][4] = char(Terrain::Rock);
    d.spawns = {{"Troll", {7, 1}, 4}};
    EXPECT_TRUE(start_region_faults(d).empty());
    d.teleports.push_back({"Portal", {8, 1}, {3, 1}});
    EXPECT_TRUE(names(start_region_faults(d), "at (2|1) in 2 turns"));
}

TEST(DungeonProofs, EveryKeyLiesBeforeItsDoor) {
    Dungeon d = two_depths();
    d.doors = {{"Portcullis", {6, 2}, true, 9}};
    EXPECT_TRUE(names(key_faults(d), "no key of the pack and no lever opens Portcullis"));
    d.switches = {{"Rusty Lever", {8, 3}, "button", "DEACTIVATE|locked", "", "Portcullis", {6, 2}}};
    EXPECT_TRUE(names(key_faults(d), "the lever of Portcullis at (6|2) cannot be reached before"));
    d.switches[0].at = {2, 3};
    EXPECT_TRUE(key_faults(d).empty());
    d.switches.clear();
    d.doors[0].key_id = 1;
    d.pack_keys = {1};
    EXPECT_TRUE(key_faults(d).empty());
}

TEST(DungeonProofs, EveryDepthCanBeLeft) {
    Dungeon d = two_depths();
    d.switches = {{"Stair to Daylight", d.exit, "exit", "", "", "", {-1, -1}}};
    EXPECT_TRUE(depth_faults(d).empty());
    // A hidden door before the stair: the player need not find it.
    d.doors = {{"Hidden Door", {6, 2}, false, 0, true}};
    EXPECT_TRUE(names(depth_faults(d), "depth 1 cannot be left: the stair down at (9|2)"));
    d.doors[0].secret = false;
    // The stair must land where the next depth is entered.
    d.teleports[0].to = {17, 2};
    EXPECT_TRUE(names(depth_faults(d), "no stair from depth 1 lands at depth 2's arrival"));
}

}  // namespace
}  // namespace grotmere::gen
