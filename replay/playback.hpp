// Playing a key script or a recording back, written once for every playback there is: the
// simulator, the window's replay and its seeks, a kept game's restore and the benchmarks. A
// playback is exact when it meets the recorded game's conditions: the keys reach the game at the
// timer wait only, the keyboard starts forgotten, and the aids' own keys are off, since a
// recording holds the presses the aids handed over, never the aids' keys. Each pass may be
// checked against the recording's checkpoint at it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/headless_backend.hpp"
#include "replay/key_script.hpp"
#include "replay/playback_checks.hpp"
#include "run/main_loop.hpp"

namespace grotmere {

// Readies a started game for `script`'s passes as its recording was played. A plain key script
// (one that names no data) keeps the aids' keys: it is typed as a player types.
void prepare_playback(const KeyScript& script);

class Playback {
public:
    // What a playback hands the game once the script has run out: nothing (the game waits), or a
    // close request, which ends any game.
    enum class PastTheEnd { Nothing, Close };

    Playback(const KeyScript& script, PastTheEnd past_the_end);

    // The next pass's input.
    PassInput next_input();
    // One pass, its input taken by whatever backend is set (a window's replay asks next_input).
    const PassResult& run_one();
    // One pass with `backend` handed the next input first, then checked against the script's
    // checkpoint after it: the divergence in words, or none.
    std::optional<std::string> run_checked(HeadlessBackend& backend);

    // The state after the last pass was checked against the script's checkpoint there, if any.
    std::optional<std::string> check_last() { return verifier_.after_pass(passes_); }

    // Where the playback stands, to come back to with the game's state of that pass.
    struct Place {
        ScriptCursor::Place cursor;
        PassResult last;
        int64_t passes = 0;
        int64_t turns = 0;
    };
    Place place() const { return {cursor_.place(), last_, passes_, turns_}; }
    void go_to(const Place& place);

    const PassResult& last() const { return last_; }
    int64_t passes() const { return passes_; }
    int64_t turns() const { return turns_; }

private:
    ScriptCursor cursor_;
    CheckpointVerifier verifier_;
    PastTheEnd past_the_end_;
    PassResult last_;
    int64_t passes_ = 0;
    int64_t turns_ = 0;
};

}  // namespace grotmere
