// The notices of a game's end (the death, the escape) drawn in the game's own picture instead of a
// system box: a backend that stands in for the window while a game is played with the aids and
// passes everything through but the notices. A notice is drawn over the last picture and waits
// for Return, Space or Escape with a keyboard of its own, so nothing typed meanwhile reaches the
// game's keyboard or its recording; a close request made then is handed on at the next pass.
// Without a person to wait for (the simulator), it draws the notice, shows it and hands the text
// on to the backend, which keeps it. The window's caption, a system box's title, is left out.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/backend.hpp"
#include "platform/keyboard.hpp"

namespace grotmere {

class PictureNotices : public Backend {
public:
    enum class Wait { ForAKey, No };

    PictureNotices(Backend& window, Wait wait) : window_(window), wait_(wait) {}

    void open_window(int32_t width, int32_t height, const std::string& caption) override {
        window_.open_window(width, height, caption);
    }
    void present(const Framebuffer& frame) override { window_.present(frame); }
    void pump_events(KeyboardState& keys) override;
    int32_t wait_for_tick(FrameTimer& timer, KeyboardState& keys) override;
    int64_t clock_ms() override { return window_.clock_ms(); }
    int64_t seed_clock_ms() override { return window_.seed_clock_ms(); }
    void notify(const std::string& text, const std::string& title) override;
    void toggle_fullscreen() override { window_.toggle_fullscreen(); }
    void before_vanishing(std::function<void()> write_out) override {
        window_.before_vanishing(std::move(write_out));
    }
    // Disarmed, notices go to the window as they are: a replay's word that it cannot be played
    // comes before there is a picture to draw in.
    void arm(bool armed) { armed_ = armed; }

private:
    void wait_for_a_key();
    void hand_on_close(KeyboardState& keys);

    Backend& window_;
    Wait wait_;
    bool armed_ = true;
    KeyboardState own_keys_;
    bool close_pending_ = false;
};

}  // namespace grotmere
