#include "platform/backend_web.hpp"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <chrono>
#include <optional>

#include "platform/canvas.hpp"
#include "platform/dom_keymap.hpp"
#include "platform/game_icon.hpp"
#include "platform/key_codes.hpp"
#include "platform/keyboard.hpp"

// The page's side of the picture, the notice box and the player's files. The page
// (web/index.html) defines the Module functions; without them the picture goes nowhere and a
// notice goes to the console.

// The rows top to bottom - 1 of the mirror's r, g, b, a bytes onto the canvas, which keeps the
// picture's size. The bytes are viewed where they lie in the game's memory, not copied.
EM_JS(void, page_draw_picture, (const uint8_t* rgba, int width, int height, int top, int bottom), {
    if (Module.drawPicture)
        Module.drawPicture(new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4), width,
                           height, top, bottom);
});

// The game's icon as the page's favicon; the page keeps its own copy of the bytes.
EM_JS(void, page_set_icon, (const uint8_t* rgba, int size), {
    if (Module.setIcon) Module.setIcon(HEAPU8.slice(rgba, rgba + size * size * 4), size);
});

EM_JS(void, page_show_guide, (const char* json), {
    if (Module.showGuide) Module.showGuide(JSON.parse(UTF8ToString(json)));
});

EM_JS(void, page_set_caption, (const char* caption), { document.title = UTF8ToString(caption); });

EM_JS(void, page_show_notice, (const char* title, const char* text), {
    if (Module.showNotice)
        Module.showNotice(UTF8ToString(title), UTF8ToString(text));
    else
        console.log(UTF8ToString(text));
});

EM_JS(int, page_notice_open, (), { return Module.noticeOpen && Module.noticeOpen() ? 1 : 0; });

EM_JS(void, page_save_files, (), {
    if (Module.saveFiles) Module.saveFiles();
});

EM_JS(void, page_note_pass, (double work_ms, double picture_ms, int pressed), {
    if (Module.notePass) Module.notePass(work_ms, picture_ms, pressed ? true : false);
});

EM_JS(void, page_toggle_fullscreen, (), {
    if (Module.toggleFullscreen) Module.toggleFullscreen();
});

namespace grotmere {

namespace {

constexpr int64_t kLongestSleepMs = 1000;
constexpr int64_t kNoticePollMs = 50;
constexpr int32_t kFaviconSize = 64;
const char* const kCanvas = "#canvas";

WebBackend* active = nullptr;

// Keys the browser keeps for itself: reload, its own fullscreen, its developer tools, and the
// shortcuts of Control or Meta with a letter or digit (new tab, find, ...).
bool left_to_the_browser(const EmscriptenKeyboardEvent& event, int32_t code) {
    if (code == key::function_key(5) || code == key::function_key(11) ||
        code == key::function_key(12))
        return true;
    const bool letter_or_digit = (code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z');
    return (event.ctrlKey || event.metaKey) && letter_or_digit;
}

EM_BOOL on_key(int type, const EmscriptenKeyboardEvent* event, void*) {
    if (!active) return EM_FALSE;
    const int32_t code = key_code_of_dom_code(event->code);
    active->key_event(type == EMSCRIPTEN_EVENT_KEYDOWN, event->repeat, event->code);
    return code != 0 && !left_to_the_browser(*event, code);
}

EM_BOOL on_focus(int, const EmscriptenFocusEvent*, void*) {
    if (active) active->focus_changed();
    return EM_FALSE;
}

EM_BOOL on_visibility(int, const EmscriptenVisibilityChangeEvent* event, void*) {
    if (active && event->hidden) active->page_hidden();
    return EM_FALSE;
}

EM_BOOL on_mouse(int type, const EmscriptenMouseEvent* event, void*) {
    if (!active) return EM_FALSE;
    if (type == EMSCRIPTEN_EVENT_MOUSELEAVE) {
        active->pointer_left();
        return EM_FALSE;
    }
    double width = 0;
    double height = 0;
    emscripten_get_element_css_size(kCanvas, &width, &height);
    const bool click = type == EMSCRIPTEN_EVENT_MOUSEDOWN && event->button == 0;
    active->pointer_at(event->targetX, event->targetY, width, height, click);
    return EM_FALSE;
}

}  // namespace

WebBackend::WebBackend() {
    active = this;
    const char* document = EMSCRIPTEN_EVENT_TARGET_DOCUMENT;
    emscripten_set_keydown_callback(document, nullptr, EM_TRUE, on_key);
    emscripten_set_keyup_callback(document, nullptr, EM_TRUE, on_key);
    emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, on_focus);
    emscripten_set_focus_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, on_focus);
    emscripten_set_visibilitychange_callback(nullptr, EM_TRUE, on_visibility);
    emscripten_set_mousemove_callback(kCanvas, nullptr, EM_TRUE, on_mouse);
    emscripten_set_mousedown_callback(kCanvas, nullptr, EM_TRUE, on_mouse);
    emscripten_set_mouseleave_callback(kCanvas, nullptr, EM_TRUE, on_mouse);
}

WebBackend::~WebBackend() {
    emscripten_html5_remove_all_event_listeners();
    if (active == this) active = nullptr;
}

void WebBackend::open_window(int32_t, int32_t, const std::string& caption) {
    page_set_caption(caption.c_str());
    if (!icon_shown_) {
        RgbaMirror icon;
        icon.take(draw_game_icon(kFaviconSize));
        page_set_icon(icon.rgba(), kFaviconSize);
        icon_shown_ = true;
    }
    if (page_guide_) page_show_guide(page_guide_().c_str());
}

// An unchanged picture is not sent again; the mirror's comparison catches a frame cleared and
// drawn again exactly as before, which is what an idle game mostly does.
void WebBackend::present(const Framebuffer& frame) {
    if (&frame == shown_frame_ && frame.version() == shown_version_) return;
    const double began_ms = emscripten_get_now();
    shown_frame_ = &frame;
    shown_version_ = frame.version();
    if (const std::optional<RowBand> rows = shown_.take(frame))
        page_draw_picture(shown_.rgba(), frame.width(), frame.height(), rows->first, rows->last);
    picture_ms_ += emscripten_get_now() - began_ms;
}

void WebBackend::key_event(bool down, bool repeat, const char* dom_code) {
    // A held key's auto-repeat is not a new press.
    if (down && repeat) return;
    queue_key(down, key_code_of_dom_code(dom_code));
}

void WebBackend::button_key(bool down, int32_t code) {
    if (code < 1 || code >= KeyboardState::kCodes) return;
    queue_key(down, code);
}

void WebBackend::queue_key(bool down, int32_t code) {
    if (code == 0) return;
    queued_.push_back(InputEvent{down ? InputEvent::Kind::Press : InputEvent::Kind::Release, code});
}

// Keys released while another window or tab had the focus never report their release here;
// forgetting every key both ways keeps none stuck down.
void WebBackend::focus_changed() {
    queued_.push_back(InputEvent{InputEvent::Kind::Focus, 0});
}

// A point of the canvas, which the page scales, in the picture's own pixels.
void WebBackend::pointer_at(double css_x, double css_y, double css_width, double css_height,
                            bool click) {
    if (css_width <= 0 || css_height <= 0) return;
    pointer_.inside = css_x >= 0 && css_y >= 0 && css_x < css_width && css_y < css_height;
    if (pointer_.inside) {
        pointer_.x = static_cast<int32_t>(css_x * kWindowWidth / css_width);
        pointer_.y = static_cast<int32_t>(css_y * kWindowHeight / css_height);
    }
    if (click && pointer_.inside) ++pointer_.clicks;
    pointer_moved_ = true;
}

void WebBackend::pointer_left() {
    pointer_.inside = false;
    pointer_moved_ = true;
}

void WebBackend::page_hidden() {
    queued_.push_back(InputEvent{InputEvent::Kind::Focus, 0});
    write_out();
    page_save_files();
}

void WebBackend::write_out() {
    if (write_out_) write_out_();
}

void WebBackend::before_vanishing(std::function<void()> write_out) {
    write_out_ = std::move(write_out);
}

void WebBackend::pump_events(KeyboardState& keys) {
    for (const InputEvent& event : queued_)
        pass_pressed_ |= event.kind == InputEvent::Kind::Press;
    apply_input(queued_, keys);
    queued_.clear();
    if (!pointer_moved_) return;
    PointerState& pointer = keys.pointer();
    pointer.inside = pointer_.inside;
    pointer.x = pointer_.x;
    pointer.y = pointer_.y;
    pointer.clicks += pointer_.clicks;
    ++pointer.moves;
    pointer_.clicks = 0;
    pointer_moved_ = false;
}

int32_t WebBackend::wait_for_tick(FrameTimer& timer, KeyboardState& keys) {
    if (pass_began_ms_ >= 0)
        page_note_pass(emscripten_get_now() - pass_began_ms_, picture_ms_, pass_pressed_ ? 1 : 0);
    picture_ms_ = 0;
    pass_pressed_ = false;
    int32_t ticks_handed = 0;
    if (timer.hz <= 0) {
        emscripten_sleep(kLongestSleepMs);
        pump_events(keys);
    } else {
        for (;;) {
            const int64_t now = clock_ms();
            const int64_t ticks = (now - timer.start_ms) * timer.hz / 1000;
            if (ticks != timer.consumed) {
                // Every elapsed tick is handed out at once: a slow pass (or a hidden page, whose
                // timers the browser slows) is not followed by a burst.
                const int64_t fresh = ticks - timer.consumed;
                timer.consumed = ticks;
                ticks_handed = static_cast<int32_t>(std::clamp<int64_t>(fresh, 0, INT32_MAX));
                break;
            }
            const int64_t next_tick_ms =
                timer.start_ms + ((ticks + 1) * 1000 + timer.hz - 1) / timer.hz;
            emscripten_sleep(
                static_cast<unsigned>(std::clamp<int64_t>(next_tick_ms - now, 1, kLongestSleepMs)));
        }
        pump_events(keys);
    }
    pass_began_ms_ = emscripten_get_now();
    return ticks_handed;
}

int64_t WebBackend::clock_ms() {
    return static_cast<int64_t>(emscripten_get_now());
}

int64_t WebBackend::seed_clock_ms() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

// The box stays until the player dismisses it; the page takes every key meanwhile, as a desktop's
// message box does, so none reaches the game.
void WebBackend::notify(const std::string& text, const std::string& title) {
    page_show_notice(title.c_str(), text.c_str());
    while (page_notice_open())
        emscripten_sleep(kNoticePollMs);
    pass_began_ms_ = -1;
}

void WebBackend::toggle_fullscreen() {
    page_toggle_fullscreen();
}

}  // namespace grotmere

// The page calls this when it is hidden or left (pagehide), as the visibility event may not come.
extern "C" EMSCRIPTEN_KEEPALIVE void web_page_hidden() {
    if (grotmere::active) grotmere::active->page_hidden();
}

// Before a download of the game's recording, so that it holds the passes played so far.
extern "C" EMSCRIPTEN_KEEPALIVE void web_write_out() {
    if (grotmere::active) grotmere::active->write_out();
}

// The page's on-screen buttons: the key of this code goes down (1) or up (0).
extern "C" EMSCRIPTEN_KEEPALIVE void web_button_key(int code, int down) {
    if (grotmere::active) grotmere::active->button_key(down != 0, code);
}
