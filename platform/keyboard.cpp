#include "platform/keyboard.hpp"

#include "platform/key_codes.hpp"

namespace grotmere {

namespace {

constexpr int32_t kLeftAlt = key::kLeftAlt;
constexpr int32_t kRightAlt = key::kRightAlt;

}  // namespace

void KeyboardState::press(int32_t code) {
    if (!valid(code) || held_back(true, code)) return;
    if (gate_ != nullptr && gate_->takes_press(code)) return;
    apply_press(code);
}

void KeyboardState::release(int32_t code) {
    if (!valid(code) || held_back(false, code)) return;
    if (gate_ != nullptr && gate_->takes_release(code)) return;
    apply_release(code);
}

void KeyboardState::hand_over_hit(int32_t code) {
    if (!valid(code)) return;
    apply_press(code);
    apply_release(code);
}

void KeyboardState::hand_over_press(int32_t code) {
    if (valid(code)) apply_press(code);
}

void KeyboardState::hand_over_release(int32_t code) {
    if (valid(code)) apply_release(code);
}

bool KeyboardState::held_back(bool press, int32_t code) {
    if (!one_press_per_pass_) return false;
    const bool counts = press && !modifier(code);
    if (waiting_.empty() && !(counts && pass_has_press_)) {
        pass_has_press_ |= counts;
        return false;
    }
    // A press beyond the room is lost, and so is its release, which finds the key up.
    if (counts && waiting_presses() >= kWaitingPresses) return true;
    waiting_.push_back(Waiting{press, code});
    return true;
}

size_t KeyboardState::waiting_presses() const {
    size_t presses = 0;
    for (const Waiting& event : waiting_)
        presses += event.press && !modifier(event.code) ? 1 : 0;
    return presses;
}

void KeyboardState::set_one_press_per_pass(bool on) {
    one_press_per_pass_ = on;
    pass_has_press_ = false;
    waiting_.clear();
}

// Hands over the waiting events up to and with the next press that counts; the events after it
// wait for the pass after.
void KeyboardState::begin_pass() {
    pass_has_press_ = false;
    while (!waiting_.empty()) {
        const Waiting event = waiting_.front();
        const bool counts = event.press && !modifier(event.code);
        if (counts && pass_has_press_) return;
        waiting_.pop_front();
        pass_has_press_ |= counts;
        const bool taken = gate_ != nullptr && (event.press ? gate_->takes_press(event.code)
                                                            : gate_->takes_release(event.code));
        if (taken) continue;
        event.press ? apply_press(event.code) : apply_release(event.code);
    }
}

void KeyboardState::apply_press(int32_t code) {
    if (listener_ != nullptr) listener_->pressed(code);
    if (down_[code]) return;
    ++version_;
    down_[code] = true;
    ++hits_[code];
    if (down_[kLeftAlt] || down_[kRightAlt]) ++alt_hits_[code];
}

void KeyboardState::apply_release(int32_t code) {
    if (listener_ != nullptr) listener_->released(code);
    if (down_[code]) ++version_;
    down_[code] = false;
}

void KeyboardState::clear_all() {
    if (listener_ != nullptr) listener_->focus_changed();
    waiting_.clear();
    down_.fill(false);
    drop_hits();
}

void KeyboardState::request_close() {
    if (listener_ != nullptr) listener_->close_requested();
    close_pending_ = true;
    ++version_;
}

int32_t KeyboardState::take_hits(int32_t code) {
    if (!valid(code)) return 0;
    int32_t hits = hits_[code];
    if (hits == 0) return 0;
    hits_[code] = 0;
    ++version_;
    return hits;
}

int32_t KeyboardState::take_alt_hits(int32_t code) {
    if (!valid(code)) return 0;
    int32_t hits = alt_hits_[code];
    if (hits == 0) return 0;
    alt_hits_[code] = 0;
    ++version_;
    return hits;
}

int32_t KeyboardState::is_down(int32_t code) const {
    return valid(code) && down_[code] ? 1 : 0;
}

int32_t KeyboardState::take_close_request() {
    if (!close_pending_) return 0;
    close_pending_ = false;
    ++version_;
    return 1;
}

}  // namespace grotmere
