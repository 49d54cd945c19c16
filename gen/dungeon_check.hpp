// What the generator promises of every dungeon it hands over, proved on the dungeon itself by
// walking its tiles as the player and the monsters would (four ways; teleports carry whoever
// steps on them). Nothing can climb: no step joins two depths and no teleport leads up. No monster
// above level 2 can reach the start room in the first 300 turns, whatever doors the player opens.
// Every locked door's key (a key of the starting pack, or a lever) lies before the door on its
// depth. Every depth can be left downwards (the last: through the gate to the exit) from where
// the player arrives, with the pack's keys and the depth's own levers. Besides: the exit lies
// behind the gate, the gate's lever behind the guardian; every room can be reached; the size,
// the depths, a loop on each, a hidden door, a portal pair, burning-down lamps and dark rooms are
// there.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "gen/dungeon.hpp"

namespace grotmere::gen {

inline constexpr int32_t kQuietTurns = 300;        // the start room's grace
inline constexpr int32_t kMostLevelNearStart = 2;  // the strongest kind that may come sooner

// Each proof alone, every fault in words (verify_dungeon runs them all).
std::vector<std::string> climb_faults(const Dungeon& dungeon);
std::vector<std::string> start_region_faults(const Dungeon& dungeon);
std::vector<std::string> key_faults(const Dungeon& dungeon);
std::vector<std::string> depth_faults(const Dungeon& dungeon);

// Every promise the dungeon breaks, in words; empty when it keeps them all.
std::vector<std::string> verify_dungeon(const Dungeon& dungeon);

// Sub-seeds tried before a seed is given up.
inline constexpr int32_t kMostAttempts = 64;

// The dungeon of the first sub-seed from `first_attempt` on that keeps every promise.
std::optional<Dungeon> first_kept_dungeon(int32_t seed, const Palette& palette,
                                          int32_t first_attempt = 0);

}  // namespace grotmere::gen
