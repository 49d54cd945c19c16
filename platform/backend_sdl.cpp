#include "platform/backend_sdl.hpp"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <vector>

#include "platform/canvas.hpp"
#include "platform/game_icon.hpp"
#include "platform/keyboard.hpp"
#include "platform/sdl_keymap.hpp"

namespace grotmere {

namespace {

// Set by the hang-up signal, taken by the next look at the events.
volatile std::sig_atomic_t hang_up_seen = 0;

}  // namespace

// The key table is written in USB HID usage numbers; SDL promises its scancodes are the same.
static_assert(SDL_SCANCODE_A == 4 && SDL_SCANCODE_0 == 39 && SDL_SCANCODE_F1 == 58 &&
              SDL_SCANCODE_KP_1 == 89 && SDL_SCANCODE_KP_0 == 98 && SDL_SCANCODE_F13 == 104 &&
              SDL_SCANCODE_LCTRL == 224 && SDL_SCANCODE_RGUI == 231);

namespace {

constexpr int32_t kBytesPerPixel = 3;
// Longest single sleep while waiting for a tick; waking up once a second costs nothing and keeps
// a wait bounded even for a timer that never ticks.
constexpr int64_t kLongestSleepMs = 1000;

[[noreturn]] void fail_because(const char* what, const char* why) {
    std::fprintf(stderr, "grotmere: %s: %s\n", what, why);
    throw ProgramExit{1};
}

[[noreturn]] void fail(const char* what) {
    fail_because(what, SDL_GetError());
}

// With no display at all SDL falls back to drivers that show nothing; a game nobody can see
// would run on forever, so those count only when asked for by name.
bool shows_nothing_unasked(const char* driver) {
    if (!driver || SDL_GetHint(SDL_HINT_VIDEODRIVER)) return false;
    return SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0;
}

// The largest whole-number scale of a width x height picture that fits the output, centred. The
// minimum window size keeps the output at least as large as the picture; should a platform still
// hand out less, the picture is shown unscaled and cut evenly on both sides.
SDL_Rect fit_picture(int32_t output_width, int32_t output_height, int32_t width, int32_t height) {
    int32_t scale = std::max(1, std::min(output_width / width, output_height / height));
    int32_t shown_width = width * scale;
    int32_t shown_height = height * scale;
    return SDL_Rect{(output_width - shown_width) / 2, (output_height - shown_height) / 2,
                    shown_width, shown_height};
}

// The asked-for scale, made smaller until the window fits the screen's usable area.
int32_t scale_that_fits(int32_t width, int32_t height, int32_t asked) {
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0 || usable.w <= 0 || usable.h <= 0) return asked;
    int32_t scale = asked;
    while (scale > 1 && (int64_t{width} * scale > usable.w || int64_t{height} * scale > usable.h))
        --scale;
    if (scale != asked) {
        std::fprintf(stderr, "grotmere: --scale %d does not fit the %dx%d screen; using %d\n",
                     asked, usable.w, usable.h, scale);
    }
    return scale;
}

}  // namespace

SdlBackend::~SdlBackend() {
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    SDL_Quit();
}

void SdlBackend::start_video() {
    if (video_started_) return;
    std::signal(SIGHUP, [](int) { hang_up_seen = 1; });
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    // A turn-based game sits idle for long stretches: let the screen saver and the desktop
    // compositor carry on as they would for any other window.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) fail("cannot start SDL video");
    if (shows_nothing_unasked(SDL_GetCurrentVideoDriver())) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        fail_because("cannot start SDL video",
                     "no display found (is DISPLAY or WAYLAND_DISPLAY set?)");
    }
    video_started_ = true;
}

void SdlBackend::open_window(int32_t width, int32_t height, const std::string& caption) {
    start_video();
    if (window_) {
        SDL_SetWindowTitle(window_, caption.c_str());
        return;
    }
    create_window(width, height, caption);
}

void SdlBackend::create_window(int32_t width, int32_t height, const std::string& caption) {
    Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    if (options_.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    const int32_t scale = scale_that_fits(width, height, std::max(1, options_.scale));
    window_ = SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               width * scale, height * scale, flags);
    if (!window_) fail("cannot open the window");
    set_icon();
    // No vsync: the game's own timer paces it, and it presents only when the picture changes.
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_) fail("cannot draw in the window");
    // Only now: an OpenGL renderer may recreate the X11 window, which drops its size hints.
    SDL_SetWindowMinimumSize(window_, width, height);
    // The game reads keys, never typed text; leaving text input on can pop up an input method.
    SDL_StopTextInput();
    needs_redraw_ = true;
}

// The desktop shows the window with the game's own icon, the one of its menu entry.
void SdlBackend::set_icon() {
    constexpr int32_t kIconSize = 64;
    Framebuffer icon = draw_game_icon(kIconSize);
    std::vector<uint8_t> pixels = icon.bytes();
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        pixels.data(), icon.width(), icon.height(), 24, icon.width() * 3, SDL_PIXELFORMAT_RGB24);
    if (surface == nullptr) return;
    SDL_SetWindowIcon(window_, surface);
    SDL_FreeSurface(surface);
}

void SdlBackend::present(const Framebuffer& frame) {
    if (!renderer_) return;
    note_output_size();
    if (upload(frame)) needs_redraw_ = true;
    if (needs_redraw_) redraw();
}

void SdlBackend::note_output_size() {
    int width = 0;
    int height = 0;
    if (SDL_GetRendererOutputSize(renderer_, &width, &height) != 0) return;
    if (width == output_width_ && height == output_height_) return;
    output_width_ = width;
    output_height_ = height;
    needs_redraw_ = true;
}

// Sends the picture to the texture unless the texture already holds it; true if it was sent.
// The version tells cheaply that nothing was drawn; the byte comparison catches a frame that was
// cleared and drawn again exactly as before, which is what an idle game mostly does.
bool SdlBackend::upload(const Framebuffer& frame) {
    if (has_picture_ && &frame == shown_frame_ && frame.version() == shown_version_) return false;
    if (!ensure_texture(frame.width(), frame.height())) return false;
    shown_frame_ = &frame;
    shown_version_ = frame.version();
    if (has_picture_ && frame.bytes() == shown_bytes_) return false;
    if (SDL_UpdateTexture(texture_, nullptr, frame.bytes().data(),
                          frame.width() * kBytesPerPixel) != 0) {
        fail("cannot update the window's picture");
    }
    shown_bytes_ = frame.bytes();
    has_picture_ = true;
    return true;
}

// False for an empty framebuffer, which has nothing to show.
bool SdlBackend::ensure_texture(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) return false;
    if (texture_ && width == texture_width_ && height == texture_height_) return true;
    if (texture_) SDL_DestroyTexture(texture_);
    has_picture_ = false;
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB24, SDL_TEXTUREACCESS_STREAMING,
                                 width, height);
    if (!texture_) fail("cannot make the window's picture");
    SDL_SetTextureScaleMode(texture_, SDL_ScaleModeNearest);
    texture_width_ = width;
    texture_height_ = height;
    return true;
}

void SdlBackend::redraw() {
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    if (has_picture_) {
        SDL_Rect target =
            fit_picture(output_width_, output_height_, texture_width_, texture_height_);
        SDL_RenderCopy(renderer_, texture_, nullptr, &target);
    }
    SDL_RenderPresent(renderer_);
    needs_redraw_ = false;
}

void SdlBackend::pump_events(KeyboardState& keys) {
    if (!video_started_) return;
    // SDL turns an interrupt or a termination into a close request; a hang-up is one too.
    if (hang_up_seen != 0) {
        hang_up_seen = 0;
        keys.request_close();
    }
    SDL_Event event;
    while (SDL_PollEvent(&event))
        handle_event(event, keys);
    // A window uncovered or resized while the game sits waiting is repainted from the texture,
    // without waiting for the game to present again.
    if (renderer_ && needs_redraw_) {
        note_output_size();
        redraw();
    }
}

void SdlBackend::handle_event(const SDL_Event& event, KeyboardState& keys) {
    switch (event.type) {
        case SDL_QUIT:
            keys.request_close();
            break;
        case SDL_WINDOWEVENT:
            handle_window_event(event, keys);
            break;
        case SDL_KEYDOWN:
            // A held key's auto-repeat is not a new press.
            if (!event.key.repeat) keys.press(windows_key_code(event.key.keysym.scancode));
            break;
        case SDL_KEYUP:
            keys.release(windows_key_code(event.key.keysym.scancode));
            break;
        case SDL_MOUSEMOTION:
            point_at(event.motion.x, event.motion.y, keys.pointer());
            break;
        case SDL_MOUSEBUTTONDOWN:
            point_at(event.button.x, event.button.y, keys.pointer());
            if (event.button.button == SDL_BUTTON_LEFT && keys.pointer().inside)
                ++keys.pointer().clicks;
            break;
        default:
            break;
    }
}

void SdlBackend::handle_window_event(const SDL_Event& event, KeyboardState& keys) {
    switch (event.window.event) {
        // Keys released while another window had the focus never report their release here;
        // forgetting every key both ways keeps none stuck down.
        case SDL_WINDOWEVENT_FOCUS_LOST:
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            keys.clear_all();
            break;
        case SDL_WINDOWEVENT_CLOSE:
            keys.request_close();
            break;
        case SDL_WINDOWEVENT_LEAVE:
            keys.pointer().inside = false;
            ++keys.pointer().moves;
            break;
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            needs_redraw_ = true;
            break;
        default:
            break;
    }
}

// A point of the window in the picture's own pixels: the window may be scaled and the picture
// centred in it.
void SdlBackend::point_at(int32_t window_x, int32_t window_y, PointerState& pointer) {
    int window_width = 0;
    int window_height = 0;
    if (!window_ || !has_picture_) return;
    SDL_GetWindowSize(window_, &window_width, &window_height);
    note_output_size();
    if (window_width <= 0 || window_height <= 0) return;
    const int64_t x = int64_t{window_x} * output_width_ / window_width;
    const int64_t y = int64_t{window_y} * output_height_ / window_height;
    const SDL_Rect shown =
        fit_picture(output_width_, output_height_, texture_width_, texture_height_);
    pointer.inside = x >= shown.x && y >= shown.y && x < shown.x + shown.w && y < shown.y + shown.h;
    if (pointer.inside) {
        pointer.x = static_cast<int32_t>((x - shown.x) * texture_width_ / shown.w);
        pointer.y = static_cast<int32_t>((y - shown.y) * texture_height_ / shown.h);
    }
    ++pointer.moves;
}

int32_t SdlBackend::wait_for_tick(FrameTimer& timer, KeyboardState& keys) {
    if (timer.hz <= 0) {
        // A timer that never ticks: take events for a while rather than hang or spin.
        sleep_until_event(kLongestSleepMs, keys);
        pump_events(keys);
        return 0;
    }
    for (;;) {
        pump_events(keys);
        int64_t now = clock_ms();
        int64_t ticks = (now - timer.start_ms) * timer.hz / 1000;
        if (ticks != timer.consumed) {
            // Every elapsed tick is handed out at once: a slow pass is not followed by a burst.
            int64_t fresh = ticks - timer.consumed;
            timer.consumed = ticks;
            return static_cast<int32_t>(std::clamp<int64_t>(fresh, INT32_MIN, INT32_MAX));
        }
        int64_t next_tick_ms = timer.start_ms + ((ticks + 1) * 1000 + timer.hz - 1) / timer.hz;
        sleep_until_event(next_tick_ms - now, keys);
    }
}

// Sleeps up to ms milliseconds, waking early for an event, which it takes in.
void SdlBackend::sleep_until_event(int64_t ms, KeyboardState& keys) {
    int timeout = static_cast<int>(std::clamp<int64_t>(ms, 1, kLongestSleepMs));
    if (!video_started_) {
        SDL_Delay(static_cast<Uint32>(timeout));
        return;
    }
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, timeout)) handle_event(event, keys);
}

void SdlBackend::toggle_fullscreen() {
    if (!window_) return;
    const bool full = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
    if (!full) SDL_GetWindowSize(window_, &windowed_width_, &windowed_height_);
    if (SDL_SetWindowFullscreen(window_, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
        // Staying as it was is the whole harm; the game goes on.
        std::fprintf(stderr, "grotmere: cannot change to or from fullscreen: %s\n", SDL_GetError());
    } else if (full && windowed_width_ > 0 && windowed_height_ > 0) {
        // Without a window manager SDL keeps the screen's size after leaving fullscreen; the
        // window's own size is asked for again, which a window manager would have restored.
        SDL_SetWindowSize(window_, windowed_width_, windowed_height_);
    }
    needs_redraw_ = true;
}

int64_t SdlBackend::clock_ms() {
    return static_cast<int64_t>(SDL_GetTicks64());
}

int64_t SdlBackend::seed_clock_ms() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

void SdlBackend::notify(const std::string& text, const std::string& title) {
    // SDL can show a message box before it is started, so a notice works before the window too.
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, title.c_str(), text.c_str(),
                                 window_) != 0) {
        std::fprintf(stderr, "%s\n", text.c_str());
        std::fflush(stderr);
    }
    // The box may have covered the window.
    needs_redraw_ = true;
}

}  // namespace grotmere
