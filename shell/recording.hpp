// A game's recording, written as it is played: the seed on the first line ("seed N"), a comment
// naming the build and the data it was played on, then one line per pass in the simulator's
// key-script format, a run of passes without input as "pass N". grotmere-sim --keys plays it back
// and ends where the game ended. The file is flushed every 100 passes and at the end, so a crash
// loses little; a recording that cannot be written costs one warning on standard error and never
// the game.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "platform/keyboard.hpp"

namespace grotmere {

class GameRecorder : public KeyboardListener {
public:
    static constexpr int64_t kPassesPerFlush = 100;

    GameRecorder() = default;
    ~GameRecorder() override { close(); }
    GameRecorder(const GameRecorder&) = delete;
    GameRecorder& operator=(const GameRecorder&) = delete;

    // Starts the file (its folder is made); false, with a warning, when it cannot be written.
    bool open(const std::string& path, int32_t seed, const std::string& build,
              const std::string& data_hash);
    bool recording() const { return file_ != nullptr; }

    void pressed(int32_t code) override;
    void released(int32_t code) override;
    void focus_changed() override;
    void close_requested() override;

    // The events since the last call become the pass's line.
    void end_pass();
    // Writes what is pending and closes the file; nothing after.
    void close();

private:
    void add(const std::string& word);
    void write_pending_empty_passes();
    void write(const std::string& text);
    void give_up();

    std::FILE* file_ = nullptr;
    std::string path_;
    std::string line_;
    std::string last_press_;  // the word of the last event when it was a press, to fold a hit
    int64_t empty_passes_ = 0;
    int64_t passes_since_flush_ = 0;
};

// The user's data folder for the game: $XDG_DATA_HOME/grotmere, else ~/.local/share/grotmere;
// none when neither variable is set.
std::optional<std::string> user_data_folder();

// "2026-12-07_14-05-09_seed42.keys": a recording's file name by local date and time and seed.
std::string recording_file_name(int32_t seed);

}  // namespace grotmere
