// What the generator promises of every dungeon it hands over, checked on the dungeon itself by
// walking its tiles as the player would (four ways, through doors, portals carrying along): the
// exit lies behind a lock; the gate's lever is reachable before the gate; the guardian cannot be
// walked around (with its tile blocked the lever is out of reach); every room can be reached;
// the size, a loop, a hidden door, a portal pair, burning-down lamps and dark rooms are there.
#pragma once

#include <string>
#include <vector>

#include "gen/dungeon.hpp"

namespace grotmere::gen {

// Every promise the dungeon breaks, in words; empty when it keeps them all.
std::vector<std::string> verify_dungeon(const Dungeon& dungeon);

// Sub-seeds tried before a seed is given up; a few in a hundred fail their first.
inline constexpr int32_t kMostAttempts = 64;

// The dungeon of the first sub-seed from `first_attempt` on that keeps every promise.
std::optional<Dungeon> first_kept_dungeon(int32_t seed, const Palette& palette,
                                          int32_t first_attempt = 0);

}  // namespace grotmere::gen
