#include "platform/replay_backend.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/key_codes.hpp"

namespace grotmere {

namespace {

constexpr int32_t kPassesPerSecond = 20;
constexpr int64_t kPageTurns = 100;
// A turn typed after G has at most this many digits.
constexpr size_t kTurnDigits = 9;
// The + and - keys of the main row and of the keypad.
constexpr int32_t kPlusKeys[] = {187, 107};
constexpr int32_t kMinusKeys[] = {189, 109};

bool any_hit(KeyboardState& keys, const int32_t (&codes)[2]) {
    bool hit = false;
    for (int32_t code : codes)
        hit |= keys.take_hits(code) > 0;
    return hit;
}

// The digit of a key of the main row or the keypad, if it is one.
std::optional<char> digit_of(int32_t code) {
    for (int32_t d = 0; d <= 9; ++d) {
        if (code == key::digit(d) || code == key::keypad_digit(d))
            return static_cast<char>('0' + d);
    }
    return std::nullopt;
}

}  // namespace

ReplayBackend::ReplayBackend(Backend& window, PassSource passes, double speed)
    : window_(window), passes_(std::move(passes)) {
    controls_.set_listener(&typed_);
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
    last_frame_ = frame;
    show(frame);
}

void ReplayBackend::show_again() {
    if (last_frame_.width() > 0) show(last_frame_);
}

std::string ReplayBackend::status_line() const {
    char text[96];
    std::snprintf(text, sizeof text, "REPLAY turn %lld / %lld  x%g", static_cast<long long>(turn_),
                  static_cast<long long>(total_), speed_);
    std::string line = text;
    if (typed_turn_) return line + "  go to turn: " + *typed_turn_ + "_";
    if (at_end_) return line + "  END";
    if (paused_) line += "  PAUSED";
    if (!warning_.empty()) line += "  (" + warning_ + ")";
    return line;
}

// The game's picture with the playback's line in the empty row under the map.
void ReplayBackend::show(const Framebuffer& frame) {
    constexpr int32_t kLineX = 410;
    constexpr int32_t kLineY = 248;
    shown_ = frame;
    shown_line_ = status_line();
    Canvas canvas(shown_);
    canvas.set_color(0, 0, 0);
    canvas.rect(kLineX, kLineY, shown_.width() - kLineX, 16);
    canvas.set_color(255, 120, 120);
    canvas.text(shown_line_, kLineX, kLineY);
    window_.present(shown_);
}

void ReplayBackend::set_position(int64_t turn, int64_t total) {
    turn_ = turn;
    total_ = total;
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

// G, then digits, then Return goes there; Escape forgets the number instead of stopping.
void ReplayBackend::take_typed(int32_t code) {
    if (!typed_turn_) {
        if (code == key::kEscape) stopped_ = true;
        if (code == key::letter('g')) typed_turn_ = std::string();
        return;
    }
    if (const std::optional<char> digit = digit_of(code)) {
        if (typed_turn_->size() < kTurnDigits) typed_turn_->push_back(*digit);
    } else if (code == key::kEscape) {
        typed_turn_.reset();
    } else if (code == key::kReturn) {
        if (!typed_turn_->empty())
            seek_ = SeekRequest{SeekRequest::Kind::To, std::stoll(*typed_turn_)};
        typed_turn_.reset();
    }
}

// The keys taken in the order they were typed leave no hit behind to be taken again.
void ReplayBackend::forget_typed_hits() {
    for (int32_t d = 0; d <= 9; ++d) {
        controls_.take_hits(key::digit(d));
        controls_.take_hits(key::keypad_digit(d));
    }
    controls_.take_hits(key::letter('g'));
    controls_.take_hits(key::kEscape);
    controls_.take_hits(key::kReturn);
}

void ReplayBackend::steer_seek() {
    const int64_t by =
        controls_.take_hits(key::kRight) - controls_.take_hits(key::kLeft) +
        kPageTurns * (controls_.take_hits(key::kPageDown) - controls_.take_hits(key::kPageUp));
    if (by != 0) seek_ = SeekRequest{SeekRequest::Kind::By, by};
    if (controls_.take_hits(key::kHome) > 0) seek_ = SeekRequest{SeekRequest::Kind::To, 0};
    if (controls_.take_hits(key::kEnd) > 0) seek_ = SeekRequest{SeekRequest::Kind::End, 0};
}

void ReplayBackend::steer() {
    if (controls_.take_close_request() > 0) stopped_ = true;
    for (const int32_t code : typed_.codes)
        take_typed(code);
    typed_.codes.clear();
    forget_typed_hits();
    if (!typed_turn_) steer_seek();
    if (controls_.take_hits(key::kSpace) > 0) paused_ = !paused_;
    if (any_hit(controls_, kPlusKeys)) set_pace(speed_ * 2);
    if (any_hit(controls_, kMinusKeys)) set_pace(speed_ / 2);
    // The line under the map changes at once, even while paused.
    if (status_line() != shown_line_) show_again();
}

void ReplayBackend::hold(bool at_end) {
    at_end_ = at_end;
    // The picture of a seek was shown before its turn was known: the line catches up here.
    if (status_line() != shown_line_) show_again();
    while ((paused_ || at_end_) && !stopped_ && !seek_) {
        window_.wait_for_tick(pace_, controls_);
        steer();
    }
    at_end_ = false;
}

std::optional<SeekRequest> ReplayBackend::take_seek() {
    std::optional<SeekRequest> asked = seek_;
    seek_.reset();
    return asked;
}

// The game's own timer is left alone: the playback keeps its own pace. A pause asked for during
// this wait begins at the next hold.
int32_t ReplayBackend::wait_for_tick(FrameTimer& timer, KeyboardState& keys) {
    window_.wait_for_tick(pace_, controls_);
    steer();
    ++timer.consumed;
    std::optional<PassInput> input = stopped_ ? std::nullopt : passes_();
    if (!input) {
        keys.request_close();
        return 1;
    }
    apply_input(*input, keys);
    return 1;
}

}  // namespace grotmere
