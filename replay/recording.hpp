// A game's recording, written as it is played: the seed on the first line ("seed N"), a comment
// naming the build and the data it was played on, then one line per pass in the simulator's
// key-script format, a run of passes without input as "pass N". Every 100 passes and at the end
// a line "check PASS DIGEST" holds a digest of the game's state after that pass, so that a
// playback can tell where it stops being the game that was played. grotmere-sim --keys plays it
// back and ends where the game ended.
//
// The file is written in whole lines every 100 passes and at the end, each write synced to the
// disk, so a crash or a power cut loses little and a cut never leaves part of a line; a pass
// whose events do not fit in one line goes on in the next (" \" at the end of a line). A recording
// that cannot be written costs one warning on standard error and never the game.
//
// A game left standing still holds the state it held, so an idle window does not take the whole
// state's digest every five seconds: a checkpoint after passes that touched no key, logged
// nothing, counted no effect down, drew no random number and had no missile in the air carries
// the digest of the checkpoint before. Wherever the contracts are checked the digest is taken
// anyway, and a still game whose digest changed throws std::logic_error.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "base/fnv_hash.hpp"
#include "base/safe_file.hpp"
#include "platform/keyboard.hpp"

namespace grotmere {

class GameRecorder : public KeyboardListener {
public:
    static constexpr int64_t kPassesPerFlush = 100;
    using StateDigest = std::function<uint64_t()>;

    GameRecorder() = default;
    ~GameRecorder() override { close(); }
    GameRecorder(const GameRecorder&) = delete;
    GameRecorder& operator=(const GameRecorder&) = delete;

    // Starts the recording in `file`; false, with a warning, when it cannot be written. Without
    // a digest the recording holds no checkpoints.
    // `dungeon` names a generated dungeon ("generator 1, seed 42") in a comment of its own.
    bool open(WrittenFile file, int32_t seed, const std::string& build,
              const std::string& data_hash, StateDigest digest = {},
              const std::string& dungeon = "");
    // Goes on with a recording made before: `file` replaces it and begins with `kept` (its whole
    // lines, `passes` passes, the last checkpoint after pass `checked`), the new passes after.
    bool resume(WrittenFile file, const std::string& kept, int64_t passes, int64_t checked,
                StateDigest digest);
    bool recording() const { return file_.is_open(); }
    // Where the recording is being written.
    const std::string& path() const { return file_.path(); }
    // A game kept over a close request does not record it: played back, it goes on.
    void leave_out_close_requests(bool leave_out) { leave_out_closes_ = leave_out; }

    // The passes recorded, and the last pass a checkpoint was written after (-1 before any).
    int64_t passes() const { return passes_; }
    int64_t checked_pass() const { return checked_pass_; }
    // What is written to the file so far: its length and a fingerprint (64-bit FNV-1a) of it, by
    // which a state kept beside the recording knows the recording it belongs to.
    uint64_t written_length() const { return written_length_; }
    uint64_t written_fingerprint() const { return written_.value(); }

    void pressed(int32_t code) override;
    void released(int32_t code) override;
    void focus_changed() override;
    void close_requested() override;

    // The events since the last call become the pass's line.
    void end_pass();
    // Writes the lines of the passes so far now, not at the next hundredth pass: for a page that
    // may be closed at any moment. The passes without input since the last key wait for the next
    // line as ever, so the file ends up the same either way.
    void write_out();
    // Writes what is pending and closes the file; nothing after. True when the whole recording
    // was written.
    bool close();
    // The recording's path once it is written whole; none when it failed or never started.
    std::optional<std::string> written_path() const;

private:
    void add(const std::string& word);
    void write_pending_empty_passes();
    void write_pass_line();
    void write_checkpoint();
    uint64_t checkpoint_digest();
    void flush();
    void give_up();

    WrittenFile file_;
    bool failed_ = false;
    bool closed_whole_ = false;
    StateDigest digest_;
    std::string pending_;  // whole lines not yet in the file
    std::string line_;
    std::string last_press_;  // the word of the last event when it was a press, to fold a hit
    int64_t empty_passes_ = 0;
    int64_t passes_ = 0;
    int64_t checked_pass_ = -1;
    bool leave_out_closes_ = false;
    uint64_t written_length_ = 0;
    Fnv1a written_;
    // What moves whenever the game may change without a turn, when the last digest was taken.
    struct Stillness {
        uint64_t keys = 0, log = 0, buffs = 0;
        int32_t random = 0;
        bool no_missiles = false;
        friend bool operator==(const Stillness&, const Stillness&) = default;
    };
    static Stillness stillness();
    std::optional<std::pair<Stillness, uint64_t>> last_digest_;
};

// "check 200 0123456789abcdef": a checkpoint's line without its end.
std::string checkpoint_line(int64_t pass, uint64_t digest);

}  // namespace grotmere
