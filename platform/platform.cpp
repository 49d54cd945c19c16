#include "platform/platform.hpp"

#include <cstdio>

#include "platform/backend.hpp"
#include "platform/canvas.hpp"
#include "platform/keyboard.hpp"

namespace grotmere {

namespace {

struct PlatformState {
    Backend* backend = nullptr;
    Framebuffer frame{kWindowWidth, kWindowHeight};
    Canvas canvas{frame};
    KeyboardState keys;
    bool events_only_at_wait = false;
    std::string caption;
};

PlatformState& platform() {
    static PlatformState state;
    return state;
}

// Keyboard events are taken in whenever the game tests a key, so state is current at every test.
void take_in_events() {
    if (platform().events_only_at_wait) return;
    if (Backend* backend = platform().backend) backend->pump_events(platform().keys);
}

}  // namespace

void set_backend(Backend* backend) {
    platform().backend = backend;
}
Backend* current_backend() {
    return platform().backend;
}

void open_window(int32_t width, int32_t height, const std::string& caption) {
    platform().caption = caption;
    if (Backend* backend = platform().backend) backend->open_window(width, height, caption);
}

void clear_window() {
    platform().canvas.clear(Rgb{0, 0, 0});
}

void present_frame() {
    if (Backend* backend = platform().backend) backend->present(platform().frame);
}

void set_color(int32_t r, int32_t g, int32_t b) {
    platform().canvas.set_color(r, g, b);
}
void draw_rect(int32_t x, int32_t y, int32_t w, int32_t h) {
    platform().canvas.rect(x, y, w, h);
}
void draw_line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    platform().canvas.line(x1, y1, x2, y2);
}
void draw_text(const std::string& text, int32_t x, int32_t y) {
    platform().canvas.text(text, x, y);
}

Framebuffer& framebuffer() {
    return platform().frame;
}
KeyboardState& keyboard() {
    return platform().keys;
}

int32_t key_hit(int32_t code) {
    take_in_events();
    return platform().keys.take_hits(code);
}

int32_t key_down(int32_t code) {
    take_in_events();
    return platform().keys.is_down(code);
}

int32_t key_hit_with_alt(int32_t code) {
    take_in_events();
    return platform().keys.take_alt_hits(code);
}

int32_t close_requested() {
    take_in_events();
    return platform().keys.take_close_request();
}

void take_in_events_only_at_wait(bool only_at_wait) {
    platform().events_only_at_wait = only_at_wait;
}

void toggle_fullscreen() {
    if (Backend* backend = platform().backend) backend->toggle_fullscreen();
}

int32_t millisecs() {
    Backend* backend = platform().backend;
    return backend ? static_cast<int32_t>(backend->clock_ms()) : 0;
}

FrameTimer create_timer(int32_t hz) {
    Backend* backend = platform().backend;
    return FrameTimer{hz, backend ? backend->clock_ms() : 0, 0};
}

int32_t timer_wait(FrameTimer& timer) {
    Backend* backend = platform().backend;
    return backend ? backend->wait_for_tick(timer, platform().keys) : 1;
}

void notify(const std::string& text) {
    if (Backend* backend = platform().backend) backend->notify(text, platform().caption);
}

void print_line(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void exit_program() {
    throw ProgramExit{0};
}

void set_window_caption(const std::string& caption) {
    platform().caption = caption;
}
const std::string& window_caption() {
    return platform().caption;
}

}  // namespace grotmere
