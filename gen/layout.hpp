// The first stage of a dungeon: the depths, each a rectangle of the grid with a rock seam around
// it, and in each depth rooms on a coarse lattice, cut in the shapes of the depth's style and
// joined by bending corridors along a random spanning tree with extra joins that make loops.
// Leaves of each depth's tree get the roles: the stair room (the deepest leaf) and the vault on
// every depth but the last; the exit room, the guardian's lair and the vault on the last. Nothing
// but their one corridor leads into them. Nothing joins two depths: that is the stairs' job.
#pragma once

#include <utility>
#include <vector>

#include "gen/dungeon.hpp"
#include "gen/gen_random.hpp"

namespace grotmere::gen {

struct Join {
    size_t a = 0, b = 0;  // rooms
    Cell door_a, door_b;  // the doorway tiles beside each room, just outside its box
};

struct Layout {
    std::vector<Join> joins;
};

// Fills the dungeon's size, rows, depths and rooms (with their steps from their depth's arrival
// room) and the roles; false when this sub-seed cannot give every depth its roles and a loop.
bool lay_out_depths(GenRandom& dice, Dungeon& dungeon, Layout& layout);

// The side of a leaf room across from its one doorway: 0 east, 1 west, 2 south, 3 north. A wall
// along it cuts the room in two without cutting the doorway off.
int32_t side_facing_away(const Dungeon& dungeon, const Layout& layout, size_t room);

// The first join of a room, and the doorway beside the room on it.
const Join& join_of(const Layout& layout, size_t room);
Cell doorway_beside(const Join& join, size_t room);

// Cuts the room's floor out of the rock in its shape; every side of its box keeps floor that a
// doorway can lead to (shapes.cpp).
void carve_room(GenRandom& dice, std::vector<std::string>& rows, const Room& room);

}  // namespace grotmere::gen
