// The backend without a window, for the tests and grotmere-sim. Time is virtual: every timer wait
// is one tick, 50 ms long, and returns at once. Input is scripted: the events given for a pass are
// applied during that pass's timer wait, as if they had arrived while the game waited. Notices
// are recorded instead of shown, and the last presented frame is kept for screenshots.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/backend.hpp"
#include "platform/canvas.hpp"

namespace grotmere {

struct InputEvent {
    enum class Kind { Hit, Press, Release, Close, Focus };
    Kind kind = Kind::Hit;
    int32_t code = 0;  // the key, for Hit, Press and Release
};
using PassInput = std::vector<InputEvent>;

void apply_input(const PassInput& input, KeyboardState& keys);

class HeadlessBackend : public Backend {
public:
    static constexpr int64_t kMillisecondsPerPass = 50;

    // Input for the next timer wait not yet given input.
    void queue_pass(PassInput input) { pending_.push_back(std::move(input)); }

    void open_window(int32_t width, int32_t height, const std::string& caption) override;
    void present(const Framebuffer& frame) override;
    void pump_events(KeyboardState&) override {}
    int32_t wait_for_tick(FrameTimer& timer, KeyboardState& keys) override;
    int64_t clock_ms() override { return passes_ * kMillisecondsPerPass; }
    void notify(const std::string& text, const std::string& title) override;

    int64_t passes() const { return passes_; }
    bool window_open() const { return window_open_; }
    const std::string& caption() const { return caption_; }
    const std::vector<std::string>& notices() const { return notices_; }
    // How often a frame was presented.
    int64_t presents() const { return presents_; }
    // Empty until the first present.
    const std::optional<Framebuffer>& last_frame() const { return last_frame_; }

private:
    std::deque<PassInput> pending_;
    int64_t passes_ = 0;
    int64_t presents_ = 0;
    bool window_open_ = false;
    std::string caption_;
    std::vector<std::string> notices_;
    std::optional<Framebuffer> last_frame_;
};

}  // namespace grotmere
