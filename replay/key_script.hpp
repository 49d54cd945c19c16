// The simulator's key script: one line per pass of the main loop, naming what the keyboard and
// the window do during that pass's timer wait.
//
//   a  left  27       a key pressed and released (one hit)
//   +lshift  -lshift  a key pressed and held, and released
//   close  focus      the window's close request; focus lost and regained
//   (empty line)      a pass with no input
//   pass 20           20 passes with no input
//   # text            a comment, no pass; before the first pass a recording's comments name its
//                     build and data ("# BUILD, data HASH"), its generated dungeon
//                     ("# dungeon: generator 2, seed 42") and its checkpoints' digest
//                     ("# checkpoints: digest 2")
//   seed 42           the game's random seed (a recording's first line), before any pass
//   check 200 0123456789abcdef
//                     after the passes so far (200), the game's state has this digest: a
//                     recording's checkpoint, verified where it is played back
//   a b \             a line ending in " \" goes on in the next: both are one pass
//
// Keys are names (a-z, 0-9, kp0-kp9, f1-f12, left, right, up, down, escape, space, return, tab,
// backspace, lshift, rshift, lctrl, rctrl, lalt, ralt, pageup, pagedown, home, end) or key codes
// 1-255 of two or three digits.
//
// A script is bounded: at most kLargestKeyScript bytes, lines of at most kLongestScriptLine
// characters, and at most kMostScriptPasses passes in all; a script beyond a bound is refused,
// naming the line that passes it. A script that ends inside a line which does not read (a
// recording cut by a full disk or a crash) is played up to its last whole line.
//
// A checked script keeps its text, not a parsed copy of it: its passes are read from the text
// as they are played, so a script never takes much more memory than its own size.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/headless_backend.hpp"

namespace grotmere {

inline constexpr size_t kLargestKeyScript = size_t{64} << 20;
inline constexpr size_t kLongestScriptLine = 4096;
inline constexpr int64_t kMostScriptPasses = 1000000000;

// A recording's word on the state after a pass: the pass's number, counted from 1, and the
// state's digest then; `line` is where it stands in the script.
struct Checkpoint {
    int64_t pass = 0;
    uint64_t digest = 0;
    int32_t line = 0;
};

struct KeyScript {
    std::string text;  // the lines that are played, each of them checked
    std::optional<int32_t> seed;
    // A recording's data hash, from its comment "# BUILD, data HASH" before the first pass.
    std::optional<std::string> data_hash;
    // A recording of a generated dungeon: "generator 1, seed 42" from "# dungeon: ...".
    std::optional<std::string> dungeon;
    // The digest its checkpoints carry, from "# checkpoints: digest 2"; 1 when it names none.
    int32_t digest_version = 1;
    std::vector<Checkpoint> checkpoints;
    int64_t passes = 0;
    // The line where a script that ended inside a line was cut, that line and after left out.
    std::optional<int32_t> cut_at_line;

    int64_t total_passes() const { return passes; }
    // The input of pass `index` (0-based); no input past the end. Reads from the start.
    PassInput input_for_pass(int64_t index) const;
};

// Walks a script pass by pass in constant time per pass, for long recordings.
class ScriptCursor {
public:
    explicit ScriptCursor(const KeyScript& script) : script_(script) {}
    // The next pass's input, or none past the script's end.
    std::optional<PassInput> next();

    // Where the cursor stands, to come back to.
    struct Place {
        size_t offset = 0;
        int64_t empty_left = 0;
    };
    Place place() const { return {offset_, empty_left_}; }
    void go_to(const Place& place) {
        offset_ = place.offset;
        empty_left_ = place.empty_left;
    }

private:
    const KeyScript& script_;
    size_t offset_ = 0;
    int64_t empty_left_ = 0;
    std::vector<std::string_view> words_;  // the line being read, word by word
};

struct ScriptError {
    int32_t line = 0;
    std::string message;
};

// The code of a key name or number, or nothing when the text names no key.
std::optional<int32_t> key_code_for(const std::string& name);
// The script's word for a key code 1-255: its name where it has one ("left", "a", "kp5"), else
// its code in two or three digits ("09", "187").
std::string key_word_for(int32_t code);

// A script or the first bad line.
struct ScriptParse {
    KeyScript script;
    std::optional<ScriptError> error;
};
ScriptParse parse_key_script(std::string text);

// Reads a key script from a file, or from `standard_input` for "-", stopping one byte past the
// largest script, so a source that never ends (/dev/zero) ends. The failure as text, or none.
std::optional<std::string> read_key_script(const std::string& path, std::istream& standard_input,
                                           std::string& text);

}  // namespace grotmere
