// The desktop backend: one SDL2 window showing the game's framebuffer, plus the keyboard, the
// clock, the timer pacing and the notice box. The entry point creates it and installs it with
// set_backend; only backend_sdl.cpp sees SDL.
//
// Guarantees: nothing is opened before open_window. The window's client area starts at the
// requested size times the starting scale (or on the whole screen) and can be enlarged but not
// shrunk below the requested size; the picture is scaled by the largest
// whole factor that fits, nearest-pixel, centred on black. An unchanged picture in an unchanged
// window is neither uploaded nor redrawn, and waiting for the timer sleeps in the event queue, so
// an idle game costs almost nothing. If SDL or the window cannot start, the reason goes to
// standard error and ProgramExit{1} is thrown.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/backend.hpp"
#include "platform/keyboard.hpp"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
union SDL_Event;

namespace grotmere {

struct SdlWindowOptions {
    bool fullscreen = false;  // start on the whole screen
    int32_t scale = 1;        // the window's starting size, in whole multiples of the picture
};

class SdlBackend : public Backend {
public:
    SdlBackend() = default;
    explicit SdlBackend(const SdlWindowOptions& options) : options_(options) {}
    ~SdlBackend() override;
    SdlBackend(const SdlBackend&) = delete;
    SdlBackend& operator=(const SdlBackend&) = delete;

    void open_window(int32_t width, int32_t height, const std::string& caption) override;
    void present(const Framebuffer& frame) override;
    void pump_events(KeyboardState& keys) override;
    int32_t wait_for_tick(FrameTimer& timer, KeyboardState& keys) override;
    int64_t clock_ms() override;
    int64_t seed_clock_ms() override;
    void notify(const std::string& text, const std::string& title) override;
    // F11 and Alt+Enter, as the shell asks: the desktop's own resolution, the picture scaled by
    // the largest whole factor that fits.
    void toggle_fullscreen() override;

private:
    void start_video();
    void create_window(int32_t width, int32_t height, const std::string& caption);
    void set_icon();
    void handle_event(const SDL_Event& event, KeyboardState& keys);
    void handle_window_event(const SDL_Event& event, KeyboardState& keys);
    void note_output_size();
    void point_at(int32_t window_x, int32_t window_y, PointerState& pointer);
    bool upload(const Framebuffer& frame);
    bool ensure_texture(int32_t width, int32_t height);
    void redraw();
    void sleep_until_event(int64_t ms, KeyboardState& keys);

    SdlWindowOptions options_;
    bool video_started_ = false;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    int32_t texture_width_ = 0;
    int32_t texture_height_ = 0;

    // What the texture holds, so that a picture drawn again identically is not sent again.
    const Framebuffer* shown_frame_ = nullptr;
    uint64_t shown_version_ = 0;
    std::vector<uint8_t> shown_bytes_;
    bool has_picture_ = false;

    // The window's drawable size at the last redraw, and whether its contents were lost since.
    int32_t output_width_ = 0;
    int32_t output_height_ = 0;
    bool needs_redraw_ = true;

    // The window's size before it went to fullscreen, given back when it leaves.
    int windowed_width_ = 0;
    int windowed_height_ = 0;
};

}  // namespace grotmere
