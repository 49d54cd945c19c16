#include "platform/replay_backend.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/key_codes.hpp"

namespace grotmere {

namespace {

constexpr int32_t kPassesPerSecond = 20;
// The + and - keys of the main row and of the keypad.
constexpr int32_t kPlusKeys[] = {187, 107};
constexpr int32_t kMinusKeys[] = {189, 109};

bool any_hit(KeyboardState& keys, const int32_t (&codes)[2]) {
    bool hit = false;
    for (int32_t code : codes)
        hit |= keys.take_hits(code) > 0;
    return hit;
}

}  // namespace

ReplayBackend::ReplayBackend(Backend& window, PassSource passes, double speed)
    : window_(window), passes_(std::move(passes)) {
    set_pace(speed);
}

void ReplayBackend::set_pace(double speed) {
    speed_ = std::clamp(std::isfinite(speed) ? speed : 1.0, kSlowest, kFastest);
    const auto hz = static_cast<int32_t>(std::lround(kPassesPerSecond * speed_));
    pace_ = FrameTimer{std::max(hz, 1), window_.clock_ms(), 0};
}

void ReplayBackend::open_window(int32_t width, int32_t height, const std::string& caption) {
    window_.open_window(width, height, caption);
}

void ReplayBackend::present(const Framebuffer& frame) {
    last_game_frame_ = frame;
    show(frame);
}

std::string ReplayBackend::banner() const {
    char speed[32];
    std::snprintf(speed, sizeof speed, "x%g", speed_);
    std::string text = std::string("REPLAY ") + speed;
    if (ended_) return text + "  ENDED: press a key";
    if (paused_) text += "  PAUSED";
    if (!warning_.empty()) text += "  (" + warning_ + ")";
    return text;
}

// The game's picture with the replay's line in the empty row under the map.
void ReplayBackend::show(const Framebuffer& frame) {
    constexpr int32_t kLineX = 410;
    constexpr int32_t kLineY = 248;
    shown_ = frame;
    Canvas canvas(shown_);
    canvas.set_color(0, 0, 0);
    canvas.rect(kLineX, kLineY, shown_.width() - kLineX, 10);
    canvas.set_color(255, 120, 120);
    canvas.text(banner(), kLineX, kLineY);
    window_.present(shown_);
}

void ReplayBackend::hold_the_end(KeyboardState& keys) {
    ended_ = true;
    const uint64_t before = controls_.version();
    while (controls_.version() == before) {
        show(last_game_frame_);
        window_.wait_for_tick(pace_, controls_);
    }
    keys.request_close();
}

void ReplayBackend::pump_events(KeyboardState&) {
    window_.pump_events(controls_);
}

int64_t ReplayBackend::clock_ms() {
    return window_.clock_ms();
}

void ReplayBackend::notify(const std::string& text, const std::string& title) {
    window_.notify(text, title);
}

void ReplayBackend::steer() {
    const bool was_paused = paused_;
    const double was_speed = speed_;
    if (controls_.take_hits(key::kEscape) > 0 || controls_.take_close_request() > 0) {
        stopped_ = true;
    }
    if (controls_.take_hits(key::kSpace) > 0) paused_ = !paused_;
    if (any_hit(controls_, kPlusKeys)) set_pace(speed_ * 2);
    if (any_hit(controls_, kMinusKeys)) set_pace(speed_ / 2);
    // The line under the map changes at once, even while paused.
    if ((was_paused != paused_ || was_speed != speed_) && last_game_frame_.width() > 0)
        show(last_game_frame_);
}

// The game's own timer is left alone: the playback keeps its own pace, and a paused playback
// keeps the window alive without running a pass.
int32_t ReplayBackend::wait_for_tick(FrameTimer& timer, KeyboardState& keys) {
    do {
        window_.wait_for_tick(pace_, controls_);
        steer();
    } while (paused_ && !stopped_);
    ++timer.consumed;
    std::optional<PassInput> input = stopped_ ? std::nullopt : passes_();
    if (!input) {
        // Stopped on purpose, the playback ends at once; run out, it shows its end first.
        if (stopped_) {
            keys.request_close();
        } else {
            hold_the_end(keys);
        }
        return 1;
    }
    apply_input(*input, keys);
    return 1;
}

}  // namespace grotmere
