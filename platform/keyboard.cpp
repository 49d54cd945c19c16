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
    down_[code] = true;
    ++hits_[code];
    if (down_[kLeftAlt] || down_[kRightAlt]) ++alt_hits_[code];
}

void KeyboardState::release(int32_t code) {
    if (!valid(code)) return;
    if (listener_ != nullptr) listener_->released(code);
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
}

int32_t KeyboardState::take_hits(int32_t code) {
    if (!valid(code)) return 0;
    int32_t hits = hits_[code];
    hits_[code] = 0;
    return hits;
}

int32_t KeyboardState::take_alt_hits(int32_t code) {
    if (!valid(code)) return 0;
    int32_t hits = alt_hits_[code];
    alt_hits_[code] = 0;
    return hits;
}

int32_t KeyboardState::is_down(int32_t code) const {
    return valid(code) && down_[code] ? 1 : 0;
}

int32_t KeyboardState::take_close_request() {
    bool pending = close_pending_;
    close_pending_ = false;
    return pending ? 1 : 0;
}

}  // namespace grotmere
