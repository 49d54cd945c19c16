#include "platform/headless_backend.hpp"

#include "platform/keyboard.hpp"

namespace grotmere {

void apply_input(const PassInput& input, KeyboardState& keys) {
    for (const InputEvent& event : input) {
        switch (event.kind) {
            case InputEvent::Kind::Hit:
                keys.press(event.code);
                keys.release(event.code);
                break;
            case InputEvent::Kind::Press:
                keys.press(event.code);
                break;
            case InputEvent::Kind::Release:
                keys.release(event.code);
                break;
            case InputEvent::Kind::Close:
                keys.request_close();
                break;
            case InputEvent::Kind::Focus:
                keys.clear_all();
                break;
        }
    }
}

void HeadlessBackend::open_window(int32_t, int32_t, const std::string& caption) {
    window_open_ = true;
    caption_ = caption;
}

void HeadlessBackend::present(const Framebuffer& frame) {
    ++presents_;
    last_frame_ = frame;
}

int32_t HeadlessBackend::wait_for_tick(FrameTimer& timer, KeyboardState& keys) {
    ++passes_;
    ++timer.consumed;
    if (!pending_.empty()) {
        apply_input(pending_.front(), keys);
        pending_.pop_front();
    }
    return 1;
}

void HeadlessBackend::notify(const std::string& text, const std::string&) {
    notices_.push_back(text);
}

}  // namespace grotmere
