// A 64-bit digest of the game's state: every root the dump holds (replay/state_roots.hpp), every
// registered field of each record, and the random generator's state. A recording writes it at
// its checkpoints, and a playback that reaches another digest at the same pass is no longer the
// game that was recorded.
//
// Recordings name the digest they carry ("# checkpoints: digest 2"); one that names none was made
// before, with the first digest, which is kept exactly as it was so that they still check.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace grotmere {

inline constexpr int32_t kDigestVersion = 2;

uint64_t state_digest();
// The digest of a recording of that version (1 for one that names none); none for a version this
// build does not know.
std::optional<uint64_t> state_digest_of_version(int32_t version);
bool knows_digest(int32_t version);
// The first digest, of the records' JSON text and eight fields of each tile.
uint64_t first_state_digest();

// The comment line a recording carries to name its digest, without its end.
std::string digest_version_line();

// Sixteen hex digits, as a recording writes a digest.
std::string digest_text(uint64_t digest);

}  // namespace grotmere
