// A recorded game played back in a window: wraps the window's backend, shows every frame the game
// draws, and hands the game the recorded input of each pass at that pass's timer wait instead of
// the real keyboard. The real keyboard steers the playback alone: Space pauses and resumes, + and -
// double and halve the speed, Escape stops. A line below the map says REPLAY, the speed, PAUSED
// and any warning. When the recording runs out, its last picture stays until a key is pressed
// or the window is closed, and the playback then ends with a close request.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/backend.hpp"
#include "platform/canvas.hpp"
#include "platform/headless_backend.hpp"
#include "platform/keyboard.hpp"

namespace grotmere {

class ReplayBackend : public Backend {
public:
    static constexpr double kSlowest = 0.125;
    static constexpr double kFastest = 64.0;

    // The input of the next recorded pass, or none when the recording has run out.
    using PassSource = std::function<std::optional<PassInput>()>;

    // The window must outlive the playback; speed 1 is the game's own 20 passes a second.
    ReplayBackend(Backend& window, PassSource passes, double speed);

    void open_window(int32_t width, int32_t height, const std::string& caption) override;
    void present(const Framebuffer& frame) override;
    // The window's events steer the playback; none reaches the game.
    void pump_events(KeyboardState& keys) override;
    int32_t wait_for_tick(FrameTimer& timer, KeyboardState& keys) override;
    int64_t clock_ms() override;
    void notify(const std::string& text, const std::string& title) override;
    void toggle_fullscreen() override { window_.toggle_fullscreen(); }

    double speed() const { return speed_; }
    bool paused() const { return paused_; }
    bool stopped() const { return stopped_; }
    // Shown on the replay's line for the whole playback ("played on other data files").
    void set_warning(const std::string& warning) { warning_ = warning; }

private:
    void steer();
    void set_pace(double speed);
    std::string banner() const;
    void show(const Framebuffer& frame);
    // The recording has run out: the last picture until a key or a close.
    void hold_the_end(KeyboardState& keys);

    Backend& window_;
    PassSource passes_;
    double speed_ = 1.0;
    bool paused_ = false;
    bool stopped_ = false;
    FrameTimer pace_;
    KeyboardState controls_;
    std::string warning_;
    bool ended_ = false;
    Framebuffer shown_{0, 0};
    Framebuffer last_game_frame_{0, 0};
};

}  // namespace grotmere
