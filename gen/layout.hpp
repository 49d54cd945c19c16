// The first stage of a dungeon: rooms on a coarse lattice, joined by corridors along a random
// spanning tree with a few extra joins that make loops. Three leaves of the tree get a role: the
// exit room (the deepest), the guardian's lair (the next deepest) and the hidden vault; nothing
// but their one corridor leads into them.
#pragma once

#include <utility>
#include <vector>

#include "gen/dungeon.hpp"
#include "gen/gen_random.hpp"

namespace grotmere::gen {

struct Join {
    size_t a = 0, b = 0;  // rooms
    Cell door_a, door_b;  // the doorway tiles beside each room
};

struct Layout {
    std::vector<Join> joins;
    int32_t loops = 0;  // joins beyond the spanning tree
};

// Fills the dungeon's size, rows, rooms (with their depth from the start room) and the four roles;
// false when this sub-seed's tree has too few leaves for the roles.
bool lay_out_rooms(GenRandom& dice, Dungeon& dungeon, Layout& layout);

// The side of a leaf room across from its one doorway: 0 east, 1 west, 2 south, 3 north. A wall
// along it cuts the room in two without cutting the doorway off.
int32_t side_facing_away(const Dungeon& dungeon, const Layout& layout, size_t room);

}  // namespace grotmere::gen
