// What a backend provides behind the service layer: a place to show the framebuffer, a source of
// keyboard and window events, a clock and a modal notice. Three exist: the SDL window
// (backend_sdl.cpp), the browser's page (backend_web.cpp) and the headless one
// (headless_backend.hpp) used by the tests and the simulator. Neither holds any game rule.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/platform.hpp"

namespace grotmere {

class Backend {
public:
    virtual ~Backend() = default;

    // Opens (or, headless, pretends to open) the window showing the framebuffer.
    virtual void open_window(int32_t width, int32_t height, const std::string& caption) = 0;
    // Shows the finished frame.
    virtual void present(const Framebuffer& frame) = 0;
    // Takes in pending window and keyboard events without blocking.
    virtual void pump_events(KeyboardState& keys) = 0;
    // Blocks, taking in events, until the timer has ticked since the last wait; consumes every
    // elapsed tick and returns how many there were.
    virtual int32_t wait_for_tick(FrameTimer& timer, KeyboardState& keys) = 0;
    // Milliseconds since some fixed moment; paces the timer.
    virtual int64_t clock_ms() = 0;
    // The milliseconds a game is seeded from. A window's timer clock starts with the window, so
    // it reads about 0 at every start; a window answers with the wall clock instead, so that two
    // games started a moment apart are different games. Headless, it is the virtual clock.
    virtual int64_t seed_clock_ms() { return clock_ms(); }
    // A modal information box; returns when the user dismisses it.
    virtual void notify(const std::string& text, const std::string& title) = 0;
    // Between a window and the whole screen, keeping whole-number scaling; a backend without a
    // screen ignores it.
    virtual void toggle_fullscreen() {}
    // What must be written out at once should the window vanish without another pass, as a
    // browser's page may at any moment; a window that always gets its last pass never calls it.
    // An empty function forgets it.
    virtual void before_vanishing(std::function<void()> write_out) { (void)write_out; }
};

}  // namespace grotmere
