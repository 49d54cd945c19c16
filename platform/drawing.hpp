// The window and drawing services, defined with the rest of the service layer in
// platform/platform.cpp. Only the view and the shell draw; the rules never include this.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.hpp"

namespace grotmere {

void open_window(int32_t width, int32_t height, const std::string& caption);
void clear_window();
void present_frame();
void set_color(int32_t r, int32_t g, int32_t b);
void draw_rect(int32_t x, int32_t y, int32_t w, int32_t h);
void draw_line(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
void draw_text(const std::string& text, int32_t x, int32_t y);

// What the caller knows of everything `draw` reads outside the platform since the last
// draw_if_changed: that it may have changed, or that it is exactly as it was.
enum class FrameWorld { MayHaveChanged, Unchanged };

// A frame drawn only when it can look different. `draw` first runs with its drawing calls written
// down instead of carried out; when they are exactly the calls that drew the picture of the last
// draw_if_changed, and nothing else has drawn since, the picture stands as it is and the answer is
// false. Otherwise `draw` runs again, drawing, and the answer is true. `draw` must change nothing
// but the picture and the drawing colour.
//
// When the caller vouches that the world is Unchanged, and the picture and the drawing colour are
// as the last call found and left them, `draw` would write down the same calls again: it does not
// run, the colour is left as drawing would leave it, and the answer is false.
bool draw_if_changed(void (*draw)(), FrameWorld world = FrameWorld::MayHaveChanged);

// Off, frames are neither drawn nor presented, for passes that no one sees (restoring, seeking,
// the simulator without a screenshot): `draw` does not even run, unless frames are checked
// (check_unchanged_frames), which writes them down to compare the skipped ones. Back on, the next
// frame is drawn whole; a frame must therefore set its drawing colour before it draws anything
// that the colour shows. reset_world turns it on.
void set_pixels_wanted(bool wanted);
bool pixels_wanted();

// No pixels while it lives.
class WithoutPixels {
public:
    WithoutPixels() { set_pixels_wanted(false); }
    ~WithoutPixels() { set_pixels_wanted(true); }
    WithoutPixels(const WithoutPixels&) = delete;
    WithoutPixels& operator=(const WithoutPixels&) = delete;
};

// With checking on, a frame vouched Unchanged is still written down, and calls that differ from
// those of the picture shown throw std::logic_error: a wrong promise fails loudly in the
// simulator, the tests and the fuzzers instead of leaving a stale picture on the screen. It turns
// on the world's own contract checks as well (contracts_checked).
void check_unchanged_frames(bool on);

// The picture the game has drawn so far, and the one it showed last.
Framebuffer& framebuffer();

}  // namespace grotmere
