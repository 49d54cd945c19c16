#include "replay/replay_seek.hpp"

#include <algorithm>

#include "platform/drawing.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

constexpr int64_t kPassesPastTheEnd = 100;

}  // namespace

ReplaySeeker::ReplaySeeker(const KeyScript& script, GameStart start)
    : script_(script), start_(std::move(start)) {}

// Past its end a recording asks to close the window, which ends any game.
bool ReplaySeeker::restart() {
    reset_world();
    // No one sees these passes.
    set_pixels_wanted(false);
    playback_.emplace(script_, Playback::PastTheEnd::Close);
    return start_();
}

PassInput ReplaySeeker::next_input() {
    return playback_->next_input();
}

PassResult ReplaySeeker::run_one() {
    return playback_->run_one();
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
    turn_passes_.clear();
    while (!ended()) {
        const std::optional<std::string> divergence = playback_->run_checked(quiet);
        if (playback_->last().turn_taken) turn_passes_.push_back(pass());
        if (divergence) return divergence;
        if (pass() > script_.passes + kPassesPastTheEnd) return "the recorded game never ends";
    }
    last_pass_ = pass();
    return restart() ? std::nullopt : std::optional<std::string>("the game cannot be started");
}

int64_t ReplaySeeker::landing_pass(int64_t turn) const {
    const int64_t landing = turn < total_turns() ? turn_passes_[turn] - 1 : last_pass_;
    // Before its first pass a game has shown nothing yet.
    return std::max<int64_t>(landing, 1);
}

bool ReplaySeeker::seek_turn(int64_t turn, Backend& shown) {
    const int64_t target = landing_pass(std::clamp<int64_t>(turn, 0, total_turns()));
    if (target == pass()) return true;
    HeadlessBackend quiet;
    set_backend(&quiet);
    set_pixels_wanted(false);
    if ((target <= pass() || ended()) && !restart()) {
        set_pixels_wanted(true);
        set_backend(&shown);
        return false;
    }
    while (pass() < target - 1) {
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
