// Walking, resting and the errands of the pack and the bow, one bound key press a pass: rest waits
// until health is full, run walks one way until something is worth a look, explore walks toward
// the nearest floor never seen and opens the doors on the way, travel walks to a chosen cell,
// drop puts down a whole stack, pick takes one thing from the heaps around, fire readies the
// ranged weapon and shoots at a target. Each hands the game the keys the binding file gives
// through the platform's keyboard, as if the player had pressed them, so a recording holds the
// presses and plays back without the aids. They read the map only as the player knows it
// (view/player_knowledge.hpp) and stop at once when anything happens: a monster comes into
// sight, the player is hit, the log says something new, an effect runs out, a key is pressed.
#pragma once

#include <any>
#include <cstdint>
#include <string>

namespace grotmere {

class TGegner;

enum class WalkKind { None, Rest, Run, Explore, Travel, Drop, Pick, Fire };

// Each starts unless something forbids it, which it says (walk_said) instead.
void start_rest();
void start_run(int32_t dx, int32_t dy);
void start_explore();
void start_travel(int32_t x, int32_t y);
// Drops the slot's whole stack, a piece a pass, with the drop key held.
void start_drop(int32_t slot);
// Picks up the heaps around with the get key, then drops again every piece that came in but the
// stack named `keep`.
void start_pick(const std::string& keep);
// Readies the wielded ranged weapon if it is not, then shoots at the monster while it stands in
// a straight line.
void start_fire(const TGegner& target);
// A key was pressed or the aids were switched off.
void stop_walking(const std::string& why);

WalkKind walking();
// What the walking said last ("Explored everything reachable."), for the side panel; empty once
// read by nothing new. The number changes with every new saying.
const std::string& walk_said();
uint64_t walk_said_version();
// Says something on the walking's line without walking (an aid that finds nothing to do).
void walk_say(const std::string& text);
// Forgets everything: no walk, nothing said, no key held.
void reset_walking();

// A copy of the walking's state, and putting one back: for a snapshot of the game held in memory,
// taken while no walk goes on (the walk's view of the monsters in sight is no copy).
std::any walking_state();
void put_back_walking_state(const std::any& kept);

// For run_pass, after the timer wait: hands over this pass's key press, or stops.
void walk_pass();

// The first step of a shortest walk over known floor from the player to (x, y), as dx, dy; false
// when there is no known way. Cells holding a monster in sight are in the way.
bool first_step_toward(int32_t x, int32_t y, int32_t& dx, int32_t& dy);

}  // namespace grotmere
