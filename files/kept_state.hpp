// A kept game's state beside its recording ("NAME.keys.state"), so that continuing the game puts
// it back and plays only the passes recorded after it, however long the game has been. It is
// written when the game is kept over a close, and every kKeptStateSpacing passes while it is
// played (so a crash or a closed page loses little), right after the recording's checkpoint, and
// after a continued game was played back from its start. It is written as every file of the game
// is (base/safe_file.hpp): under a temporary name, synced, renamed, never through a link.
//
// It is taken only when it is this recording's: the file whole (a fingerprint of its bytes), the
// recording's text up to the kept pass the one it was written beside (its length and a
// fingerprint), and the state put back meeting the recording's checkpoint at that pass. Any other
// file is no loss: the recording is played from its start, as it always could be.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace grotmere {

class GameRecorder;
class Playback;
struct UnfinishedGame;

inline constexpr int64_t kKeptStateSpacing = 6000;

std::string kept_state_path(const std::string& recording);

// Writes the game's state beside the recording the recorder writes, when the recorder has just
// written a checkpoint; `turns` are the whole game's. A file that cannot be written costs a
// warning.
void keep_state_beside(const GameRecorder& recorder, int64_t turns);
// The same for a game played back to the end of its recording, when a checkpoint ends it.
void keep_state_beside(const UnfinishedGame& game, int64_t turns);

// Puts the game where the state kept beside `game`'s recording stands, and the playback at its
// pass, when the state is good; otherwise changes nothing and says in `why` what was wrong with
// the file found (empty when there was none).
bool go_to_kept_state(const UnfinishedGame& game, Playback& playback, std::string& why);

void forget_kept_state(const std::string& recording);

// The file as bytes, and back: none for bytes that are no whole file of this kind.
struct KeptState {
    int64_t passes = 0;
    int64_t turns = 0;
    uint64_t recording_length = 0;
    uint64_t recording_fingerprint = 0;
    std::string state;  // replay/game_snapshot.hpp
};
std::string kept_state_bytes(const KeptState& kept);
std::optional<KeptState> read_kept_state(std::string_view bytes);

}  // namespace grotmere
