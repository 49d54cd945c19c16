#include "replay/replay_seek.hpp"

#include <algorithm>

#include "platform/drawing.hpp"
#include "replay/playback_checks.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

constexpr int64_t kPassesPastTheEnd = 100;

}  // namespace

ReplaySeeker::ReplaySeeker(const KeyScript& script, GameStart start)
    : script_(script), start_(std::move(start)) {}

bool ReplaySeeker::restart() {
    reset_world();
    // No one sees these passes.
    set_pixels_wanted(false);
    cursor_.emplace(script_);
    passes_ = 0;
    turns_ = 0;
    ended_ = false;
    return start_();
}

PassInput ReplaySeeker::next_input() {
    if (std::optional<PassInput> input = cursor_->next()) return *input;
    return PassInput{InputEvent{InputEvent::Kind::Close, 0}};
}

PassResult ReplaySeeker::run_one() {
    const PassResult result = run_pass();
    ++passes_;
    if (result.turn_taken) ++turns_;
    ended_ = result.end.has_value();
    return result;
}

std::optional<std::string> ReplaySeeker::survey() {
    HeadlessBackend quiet;
    set_backend(&quiet);
    std::optional<std::string> failure = play_through(quiet);
    set_pixels_wanted(true);
    set_backend(nullptr);
    return failure;
}

std::optional<std::string> ReplaySeeker::play_through(HeadlessBackend& quiet) {
    if (!restart()) return "the game cannot be started";
    CheckpointVerifier verifier(script_);
    turn_passes_.clear();
    while (!ended_) {
        quiet.queue_pass(next_input());
        if (run_one().turn_taken) turn_passes_.push_back(passes_);
        if (auto divergence = verifier.after_pass(passes_)) return divergence;
        // Past its end a recording asks to close the window, which ends any game.
        if (passes_ > script_.passes + kPassesPastTheEnd) return "the recorded game never ends";
    }
    last_pass_ = passes_;
    return restart() ? std::nullopt : std::optional<std::string>("the game cannot be started");
}

int64_t ReplaySeeker::landing_pass(int64_t turn) const {
    const int64_t landing = turn < total_turns() ? turn_passes_[turn] - 1 : last_pass_;
    // Before its first pass a game has shown nothing yet.
    return std::max<int64_t>(landing, 1);
}

bool ReplaySeeker::seek_turn(int64_t turn, Backend& shown) {
    const int64_t target = landing_pass(std::clamp<int64_t>(turn, 0, total_turns()));
    if (target == passes_) return true;
    HeadlessBackend quiet;
    set_backend(&quiet);
    set_pixels_wanted(false);
    if ((target <= passes_ || ended_) && !restart()) {
        set_pixels_wanted(true);
        set_backend(&shown);
        return false;
    }
    while (passes_ < target - 1) {
        quiet.queue_pass(next_input());
        run_one();
    }
    set_pixels_wanted(true);
    set_backend(&shown);
    run_one();
    // A pass that draws what was drawn without the window presents nothing, so the window is
    // shown the picture itself.
    shown.present(framebuffer());
    return true;
}

}  // namespace grotmere
