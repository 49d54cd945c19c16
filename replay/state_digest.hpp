// A 64-bit digest of the game's state as the dump holds it: the player, the map's records, the
// monsters, heaps and missiles, every tile's terrain, sight and light values, the message lines
// and the random generator's state. A recording writes it at its checkpoints, and a playback that
// reaches another digest at the same pass is no longer the game that was recorded.
#pragma once

#include <cstdint>
#include <string>

namespace grotmere {

uint64_t state_digest();

// Sixteen hex digits, as a recording writes a digest.
std::string digest_text(uint64_t digest);

}  // namespace grotmere
