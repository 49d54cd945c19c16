// What the aids of the pack and the bow read before they offer anything (aids/aid_prompts.hpp
// asks, aids/aid_walk.hpp hands the keys): the stacks the get key would take from the heaps
// around the player, and the monsters a shot from where the player stands can reach. Both read
// the world only as the player knows it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace grotmere {

class TGegner;

// A stack of the heaps around the player, the pieces of one name taken together (they stack in
// the pack), in the order the get key takes them.
struct HeapStack {
    std::string name;
    int64_t pieces = 0;
};
std::vector<HeapStack> stacks_around();

// The monsters in sight that a shot from the wielded ranged weapon can reach in a straight line,
// nearest first: within its range, nothing in the way that stops a missile (a wall, a closed
// door, another monster). None, with `why` in a line, when there is no shot at all.
std::vector<const TGegner*> shot_targets(std::string& why);

// Whether the monster is still alive and a shot can reach it; the pointer is never followed
// unless it is found among the living.
bool still_a_target(const TGegner* target);

}  // namespace grotmere
