#include "platform/keyboard.hpp"

#include "platform/key_codes.hpp"

namespace grotmere {

namespace {

constexpr int32_t kLeftAlt = key::kLeftAlt;
constexpr int32_t kRightAlt = key::kRightAlt;

}  // namespace

void KeyboardState::press(int32_t code) {
    if (!valid(code)) return;
    if (listener_ != nullptr) listener_->pressed(code);
    if (down_[code]) return;
    ++version_;
    down_[code] = true;
    ++hits_[code];
    if (down_[kLeftAlt] || down_[kRightAlt]) ++alt_hits_[code];
}

void KeyboardState::release(int32_t code) {
    if (!valid(code)) return;
    if (listener_ != nullptr) listener_->released(code);
    if (down_[code]) ++version_;
    down_[code] = false;
}

void KeyboardState::clear_all() {
    if (listener_ != nullptr) listener_->focus_changed();
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
