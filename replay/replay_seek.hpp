// Going back and forth in a recording. A first look plays the whole recording without a window,
// noting the pass of every turn the player took and keeping snapshots of the game as it goes
// (replay/snapshot_shelf.hpp). Going anywhere then starts from the nearest place before it, where
// the game stands or the last snapshot before it, and plays the passes from there without a
// window, checking the recording's checkpoints on the way, so the game lands on exactly the state
// a playback from the start has there. Turn T is the state just before the player's turn T+1 is
// taken (at the end: the recording's last pass).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/backend.hpp"
#include "platform/headless_backend.hpp"
#include "replay/key_script.hpp"
#include "replay/playback.hpp"
#include "replay/snapshot_shelf.hpp"
#include "run/main_loop.hpp"

namespace grotmere {

class ReplaySeeker {
public:
    // Starts the recorded game afresh on the backend set; false when it cannot be started.
    using GameStart = std::function<bool()>;

    ReplaySeeker(const KeyScript& script, GameStart start, SnapshotShelf shelf = SnapshotShelf());

    // Plays the whole recording without a window, checking its checkpoints, then starts the game
    // again at its first pass, leaving no backend set. Why it cannot be played, or none.
    std::optional<std::string> survey();

    // The next pass's input; past the recording's end, a close request, as a playback has it.
    PassInput next_input();
    // One pass on the backend set, counted.
    PassResult run_one();

    // Goes to turn `turn` (kept within the recording); the last pass is run on `shown`, which
    // presents its frame, the others without a window. False when the game cannot be started.
    bool seek_turn(int64_t turn, Backend& shown);
    bool seek_end(Backend& shown) { return seek_turn(total_turns(), shown); }

    int64_t turn() const { return playback_ ? playback_->turns() : 0; }
    int64_t pass() const { return playback_ ? playback_->passes() : 0; }
    bool ended() const { return playback_ && playback_->last().end.has_value(); }
    int64_t total_turns() const { return static_cast<int64_t>(turn_passes_.size()); }
    const SnapshotShelf& shelf() const { return shelf_; }

private:
    bool restart();
    std::optional<std::string> play_through(HeadlessBackend& quiet);
    // Keeps the game as it stands when a snapshot is due and nothing of the aids is under way.
    void keep_if_due();
    // Stands at `pass` or before it, as near as the game can be put; false when the game cannot
    // be started.
    bool go_near(int64_t pass);
    // Plays quietly up to `pass`, checking the checkpoints; false when one does not match.
    bool play_quietly_to(int64_t pass, HeadlessBackend& quiet);
    // The pass after which the game stands at turn `turn`.
    int64_t landing_pass(int64_t turn) const;

    const KeyScript& script_;
    GameStart start_;
    std::optional<Playback> playback_;
    SnapshotShelf shelf_;
    std::vector<int64_t> turn_passes_;  // the pass in which each turn was taken
    int64_t last_pass_ = 0;
};

}  // namespace grotmere
