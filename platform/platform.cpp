#include "platform/platform.hpp"

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "platform/backend.hpp"
#include "platform/canvas.hpp"
#include "platform/drawing.hpp"
#include "platform/keyboard.hpp"

namespace grotmere {

namespace {

// The drawing calls of a frame, written down instead of carried out, and those of the picture
// drawn last. The same calls on the same picture draw the same pixels.
struct DrawingCalls {
    enum Call : uint8_t { Clear, Colour, Rect, Line, Text };

    bool recording = false;
    std::vector<uint8_t> calls;
    std::vector<uint8_t> shown_calls;
    bool shown = false;
    uint64_t shown_version = 0;
    // The drawing colour the shown picture's calls began with and the one they left.
    Rgb shown_start{};
    Rgb shown_end{};
    bool check_unchanged = false;

    // The numbers following each call; a text's characters follow its three.
    static constexpr size_t values_of(Call call) {
        return call == Clear ? 0 : call == Colour || call == Text ? 3 : 4;
    }

    void add(Call call, std::initializer_list<int32_t> values) {
        const size_t at = calls.size();
        calls.resize(at + 1 + values.size() * sizeof(int32_t));
        calls[at] = call;
        if (values.size() != 0)
            std::memcpy(&calls[at + 1], values.begin(), values.size() * sizeof(int32_t));
    }
};

struct PlatformState {
    Backend* backend = nullptr;
    Framebuffer frame{kWindowWidth, kWindowHeight};
    Canvas canvas{frame};
    KeyboardState keys;
    bool events_only_at_wait = false;
    std::string caption;
    DrawingCalls drawing;
    // Off, frames are written down but neither drawn nor presented: a pass without a window runs
    // faster, and the next frame once pixels are wanted again is drawn whole.
    bool pixels_wanted = true;
};

PlatformState& platform() {
    static PlatformState state;
    return state;
}

DrawingCalls* recording() {
    DrawingCalls& drawing = platform().drawing;
    return drawing.recording ? &drawing : nullptr;
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
    if (DrawingCalls* record = recording()) return record->add(DrawingCalls::Clear, {});
    platform().canvas.clear(Rgb{0, 0, 0});
}

void present_frame() {
    if (!platform().pixels_wanted) return;
    if (Backend* backend = platform().backend) backend->present(platform().frame);
}

// The colour is set even while calls are only written down: it is the canvas's state, not a
// picture, and a frame left undrawn must leave it as drawing would have.
void set_color(int32_t r, int32_t g, int32_t b) {
    if (DrawingCalls* record = recording()) record->add(DrawingCalls::Colour, {r, g, b});
    platform().canvas.set_color(r, g, b);
}
void draw_rect(int32_t x, int32_t y, int32_t w, int32_t h) {
    if (DrawingCalls* record = recording()) return record->add(DrawingCalls::Rect, {x, y, w, h});
    platform().canvas.rect(x, y, w, h);
}
void draw_line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    if (DrawingCalls* record = recording())
        return record->add(DrawingCalls::Line, {x1, y1, x2, y2});
    platform().canvas.line(x1, y1, x2, y2);
}
void draw_text(const std::string& text, int32_t x, int32_t y) {
    if (DrawingCalls* record = recording()) {
        record->add(DrawingCalls::Text, {x, y, static_cast<int32_t>(text.size())});
        record->calls.insert(record->calls.end(), text.begin(), text.end());
        return;
    }
    platform().canvas.text(text, x, y);
}

namespace {

// Runs `draw` with its calls written down into drawing.calls, starting with the colour it finds.
void write_down(void (*draw)()) {
    DrawingCalls& drawing = platform().drawing;
    const Rgb start = platform().canvas.color();
    drawing.calls.clear();
    drawing.add(DrawingCalls::Colour, {start.r, start.g, start.b});
    // Drawing resumes even when `draw` ends by an exception.
    struct Recording {
        bool& flag;
        explicit Recording(bool& on) : flag(on) { flag = true; }
        ~Recording() { flag = false; }
    } recording_calls(drawing.recording);
    draw();
}

// Draws what `calls` wrote down, as running the drawing again would, without its work of
// finding out what to draw. The calls begin with the colour the drawing found.
void carry_out(const std::vector<uint8_t>& calls) {
    Canvas& canvas = platform().canvas;
    size_t at = 0;
    while (at < calls.size()) {
        const auto call = static_cast<DrawingCalls::Call>(calls[at++]);
        int32_t v[4] = {};
        const size_t count = DrawingCalls::values_of(call);
        std::memcpy(v, calls.data() + at, count * sizeof(int32_t));
        at += count * sizeof(int32_t);
        switch (call) {
            case DrawingCalls::Clear:
                canvas.clear(Rgb{0, 0, 0});
                break;
            case DrawingCalls::Colour:
                canvas.set_color(v[0], v[1], v[2]);
                break;
            case DrawingCalls::Rect:
                canvas.rect(v[0], v[1], v[2], v[3]);
                break;
            case DrawingCalls::Line:
                canvas.line(v[0], v[1], v[2], v[3]);
                break;
            case DrawingCalls::Text: {
                const auto length = static_cast<size_t>(v[2]);
                canvas.text(
                    std::string_view(reinterpret_cast<const char*>(calls.data() + at), length),
                    v[0], v[1]);
                at += length;
                break;
            }
        }
    }
}

// Anything else that drew on the picture since (a test, a reset) makes it unknown.
bool picture_untouched() {
    const DrawingCalls& drawing = platform().drawing;
    return drawing.shown && platform().frame.version() == drawing.shown_version;
}

bool same_calls_as_shown() {
    const DrawingCalls& drawing = platform().drawing;
    return picture_untouched() && drawing.calls == drawing.shown_calls;
}

// The world and the colour the last picture was drawn from: the same calls would follow.
bool same_inputs_as_shown(FrameWorld world) {
    const DrawingCalls& drawing = platform().drawing;
    return world == FrameWorld::Unchanged && picture_untouched() &&
           platform().canvas.color() == drawing.shown_start;
}

void keep_unchanged_picture(void (*draw)()) {
    DrawingCalls& drawing = platform().drawing;
    if (drawing.check_unchanged) {
        write_down(draw);
        if (!same_calls_as_shown())
            throw std::logic_error("a frame promised unchanged would have looked different");
    }
    platform().canvas.set_color(drawing.shown_end.r, drawing.shown_end.g, drawing.shown_end.b);
}

}  // namespace

bool draw_if_changed(void (*draw)(), FrameWorld world) {
    PlatformState& state = platform();
    DrawingCalls& drawing = state.drawing;
    // No one looks, and no skipped frame is checked against the calls: nothing is drawn, nothing
    // written down. The picture is unknown from here on, so the first frame wanted is drawn whole.
    if (!state.pixels_wanted && !drawing.check_unchanged) {
        drawing.shown = false;
        return true;
    }
    if (same_inputs_as_shown(world)) {
        keep_unchanged_picture(draw);
        return false;
    }
    const Rgb start = state.canvas.color();
    write_down(draw);
    const Rgb end = state.canvas.color();
    if (same_calls_as_shown()) return false;
    // Without pixels the calls stand for the picture; drawing them would end on the same colour.
    if (state.pixels_wanted) carry_out(drawing.calls);
    drawing.shown_calls.swap(drawing.calls);
    drawing.shown = true;
    drawing.shown_version = state.frame.version();
    drawing.shown_start = start;
    drawing.shown_end = end;
    return true;
}

void set_pixels_wanted(bool wanted) {
    PlatformState& state = platform();
    // The picture was not drawn while none was wanted: the next frame cannot trust it.
    if (wanted && !state.pixels_wanted) state.drawing.shown = false;
    state.pixels_wanted = wanted;
}

bool pixels_wanted() {
    return platform().pixels_wanted;
}

void check_unchanged_frames(bool on) {
    platform().drawing.check_unchanged = on;
}

bool contracts_checked() {
    return platform().drawing.check_unchanged;
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

// Cut to 32 bits as the game's clock is: the low bits are the ones that differ between starts.
int32_t millisecs() {
    Backend* backend = platform().backend;
    return backend ? static_cast<int32_t>(backend->seed_clock_ms()) : 0;
}

FrameTimer create_timer(int32_t hz) {
    Backend* backend = platform().backend;
    return FrameTimer{hz, backend ? backend->clock_ms() : 0, 0};
}

int32_t timer_wait(FrameTimer& timer) {
    Backend* backend = platform().backend;
    // What waited for this pass is handed over first; what comes during the wait follows it.
    platform().keys.begin_pass();
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
