#include "replay/replay_seek.hpp"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "aids/aid_keys.hpp"
#include "aids/aid_walk.hpp"
#include "platform/drawing.hpp"
#include "platform/platform.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

constexpr int64_t kPassesPastTheEnd = 100;

}  // namespace

ReplaySeeker::ReplaySeeker(const KeyScript& script, GameStart start, SnapshotShelf shelf)
    : script_(script), start_(std::move(start)), shelf_(std::move(shelf)) {}

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
    shelf_.clear();
    while (!ended()) {
        const std::optional<std::string> divergence = playback_->run_checked(quiet);
        if (playback_->last().turn_taken) turn_passes_.push_back(pass());
        if (divergence) return divergence;
        if (pass() > script_.passes + kPassesPastTheEnd) return "the recorded game never ends";
        keep_if_due();
    }
    last_pass_ = pass();
    return restart() ? std::nullopt : std::optional<std::string>("the game cannot be started");
}

// The walking aids' view of the monsters in sight is not copied, so no snapshot is taken while
// they are under way (a plain key script typed with the aids; a recording never has them).
void ReplaySeeker::keep_if_due() {
    if (!shelf_.due(pass()) || ended() || walking() != WalkKind::None ||
        aid_view() != AidView::None)
        return;
    shelf_.keep(pass(), game_state_bytes(), running_parts(), playback_->place());
}

int64_t ReplaySeeker::landing_pass(int64_t turn) const {
    const int64_t landing = turn < total_turns() ? turn_passes_[turn] - 1 : last_pass_;
    // Before its first pass a game has shown nothing yet.
    return std::max<int64_t>(landing, 1);
}

bool ReplaySeeker::go_near(int64_t target) {
    const SnapshotShelf::Kept* kept = shelf_.at_or_before(target);
    if (!ended() && pass() <= target && (kept == nullptr || pass() >= kept->pass)) return true;
    if (kept != nullptr && !put_back_game_state(SnapshotShelf::bytes_of(*kept))) {
        put_back_running_parts(kept->running);
        playback_->go_to(kept->place);
        return true;
    }
    return restart();
}

bool ReplaySeeker::play_quietly_to(int64_t target, HeadlessBackend& quiet) {
    while (pass() < target) {
        if (playback_->run_checked(quiet)) return false;
    }
    return true;
}

bool ReplaySeeker::seek_turn(int64_t turn, Backend& shown) {
    const int64_t target = landing_pass(std::clamp<int64_t>(turn, 0, total_turns()));
    if (target == pass()) return true;
    HeadlessBackend quiet;
    set_backend(&quiet);
    set_pixels_wanted(false);
    bool standing = go_near(target - 1);
    if (standing && !play_quietly_to(target - 1, quiet)) {
        // The recording was checked as a whole, so only a snapshot can have been wrong: the way
        // from the start is always right.
        if (contracts_checked())
            throw std::logic_error("a snapshot put back is not the state of its pass");
        std::fprintf(stderr,
                     "grotmere: a snapshot of the replay was wrong; playing from the start\n");
        shelf_.clear();
        standing = restart() && play_quietly_to(target - 1, quiet);
    }
    set_pixels_wanted(true);
    set_backend(&shown);
    if (!standing) return false;
    run_one();
    // A pass that draws what was drawn without the window presents nothing, so the window is
    // shown the picture itself.
    shown.present(framebuffer());
    return true;
}

}  // namespace grotmere
