#include "replay/playback.hpp"

#include "aids/aid_keys.hpp"
#include "platform/keyboard.hpp"
#include "platform/platform.hpp"

namespace grotmere {

void prepare_playback(const KeyScript& script) {
    take_in_events_only_at_wait(true);
    keyboard().clear_all();
    if (script.data_hash) set_aid_keys(false);
}

Playback::Playback(const KeyScript& script, PastTheEnd past_the_end)
    : cursor_(script), verifier_(script), past_the_end_(past_the_end) {}

PassInput Playback::next_input() {
    if (std::optional<PassInput> input = cursor_.next()) return *input;
    if (past_the_end_ == PastTheEnd::Close) return PassInput{{InputEvent::Kind::Close, 0}};
    return PassInput{};
}

const PassResult& Playback::run_one() {
    last_ = run_pass();
    ++passes_;
    if (last_.turn_taken) ++turns_;
    return last_;
}

std::optional<std::string> Playback::run_checked(HeadlessBackend& backend) {
    backend.queue_pass(next_input());
    run_one();
    return check_last();
}

void Playback::go_to(const Place& place) {
    cursor_.go_to(place.cursor);
    last_ = place.last;
    passes_ = place.passes;
    turns_ = place.turns;
    verifier_.go_back();
}

}  // namespace grotmere
