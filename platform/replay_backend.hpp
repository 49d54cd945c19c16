// A recorded game played back in a window: wraps the window's backend, shows every frame the game
// draws, and hands the game the recorded input of each pass at that pass's timer wait instead of
// the real keyboard. The real keyboard steers the playback alone: Space pauses and resumes, + and -
// double and halve the speed, Escape stops; Right and Left, Page Down and Page Up, Home and End,
// and G with a number and Return ask to go elsewhere in the recording, which the game's side
// takes with take_seek. A line under the map shows where the playback stands. When the recording
// runs out, the playback ends with a close request, so a cut recording still ends.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/backend.hpp"
#include "platform/canvas.hpp"
#include "platform/headless_backend.hpp"
#include "platform/keyboard.hpp"

namespace grotmere {

// Where a player asked to go: `turns` more turns (fewer when negative), turn `turns`, or the end.
struct SeekRequest {
    enum class Kind { By, To, End };
    Kind kind = Kind::By;
    int64_t turns = 0;
};

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

    // Keeps the window alive without running a pass while the playback is paused, or while
    // `at_end` (the recorded game is over), until the player steers somewhere or stops.
    void hold(bool at_end);
    // The place the player asked for since the last call, if any.
    std::optional<SeekRequest> take_seek();
    // Shown on the line under the map: the turn the game stands at, of how many.
    void set_position(int64_t turn, int64_t total);
    // The game's last picture, shown again with the line under the map as it is now.
    void show_again();

private:
    // The presses of the window's keys, in the order they came: typed fast, a number's digits
    // arrive within one pass, where hit counts would lose their order and their repeats.
    class TypedKeys : public KeyboardListener {
    public:
        void pressed(int32_t code) override { codes.push_back(code); }
        void released(int32_t) override {}
        void focus_changed() override {}
        void close_requested() override {}
        std::vector<int32_t> codes;
    };

    void steer();
    void steer_seek();
    void take_typed(int32_t code);
    void forget_typed_hits();
    void set_pace(double speed);
    std::string status_line() const;
    void show(const Framebuffer& frame);

    Backend& window_;
    PassSource passes_;
    double speed_ = 1.0;
    bool paused_ = false;
    bool stopped_ = false;
    bool at_end_ = false;
    FrameTimer pace_;
    KeyboardState controls_;
    TypedKeys typed_;
    std::string shown_line_;  // the line under the map as last shown
    std::optional<SeekRequest> seek_;
    std::optional<std::string> typed_turn_;  // after G, the digits typed so far
    int64_t turn_ = 0;
    int64_t total_ = 0;
    std::string warning_;
    Framebuffer last_frame_{0, 0};
    Framebuffer shown_{0, 0};
};

}  // namespace grotmere
