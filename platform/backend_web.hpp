// The browser's backend: the framebuffer drawn on the page's <canvas>, the keyboard and the mouse
// from the page's events, the timer paced by the browser, notices in a box over the picture. The
// page (web/index.html) sizes the canvas by whole numbers and keeps the player's files; only
// backend_web.cpp sees Emscripten.
//
// The game's loop waits for its timer inside the pass, as on the desktop; built with Asyncify,
// that wait hands the browser its main loop back until the next tick, and the page's events
// arrive meanwhile. They are queued as they come and handed to the keyboard at the wait, as SDL's
// queue is. A page hidden or left loses the focus: every key is up. Before it may vanish the game
// writes out what it must keep, and the page saves it.
//
// The picture reaches the canvas without a copy in JavaScript: the page's ImageData views the
// mirror's bytes in the game's memory, and only the rows that changed are put on the canvas. The
// page's on-screen buttons press keys by their codes through the same queue as the board's keys.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/backend.hpp"
#include "platform/headless_backend.hpp"
#include "platform/keyboard.hpp"
#include "platform/rgba_mirror.hpp"

namespace grotmere {

class WebBackend : public Backend {
public:
    WebBackend();
    ~WebBackend() override;
    WebBackend(const WebBackend&) = delete;
    WebBackend& operator=(const WebBackend&) = delete;

    void open_window(int32_t width, int32_t height, const std::string& caption) override;
    void present(const Framebuffer& frame) override;
    void pump_events(KeyboardState& keys) override;
    int32_t wait_for_tick(FrameTimer& timer, KeyboardState& keys) override;
    int64_t clock_ms() override;
    int64_t seed_clock_ms() override;
    void notify(const std::string& text, const std::string& title) override;
    void toggle_fullscreen() override;
    void before_vanishing(std::function<void()> write_out) override;

    // What the page lists beside the picture and its buttons press (aids/page_guide.hpp): asked
    // whenever the game opens its window, before its bindings are loaded too.
    void set_page_guide(std::function<std::string()> guide) { page_guide_ = std::move(guide); }

    // From the page's event handlers.
    void key_event(bool down, bool repeat, const char* dom_code);
    // An on-screen button going down or up: the key of that code, as if on the board.
    void button_key(bool down, int32_t code);
    void focus_changed();
    void pointer_at(double css_x, double css_y, double css_width, double css_height, bool click);
    void pointer_left();
    // The page is hidden or about to go: what must be kept is written and saved.
    void page_hidden();
    // The game writes out what it must keep, as before the page may vanish.
    void write_out();

private:
    void queue_key(bool down, int32_t code);

    std::vector<InputEvent> queued_;
    std::function<void()> write_out_;
    std::function<std::string()> page_guide_;
    bool icon_shown_ = false;
    const Framebuffer* shown_frame_ = nullptr;
    uint64_t shown_version_ = 0;
    RgbaMirror shown_;
    PointerState pointer_;
    bool pointer_moved_ = false;
    double pass_began_ms_ = -1;
    // For the page's timings: the time this pass spent handing its picture over, and whether a
    // key went down in it.
    double picture_ms_ = 0;
    bool pass_pressed_ = false;
};

}  // namespace grotmere
