#include "replay/key_script.hpp"

#include <algorithm>
#include <charconv>
#include <climits>
#include <filesystem>
#include <fstream>
#include <map>
#include <string_view>

#include "base/command_line.hpp"
#include "base/text.hpp"
#include "platform/key_codes.hpp"

namespace grotmere {

namespace fs = std::filesystem;

namespace {

const std::map<std::string, int32_t>& named_keys() {
    static const std::map<std::string, int32_t> names = [] {
        std::map<std::string, int32_t> table = {
            {"left", key::kLeft},           {"up", key::kUp},
            {"right", key::kRight},         {"down", key::kDown},
            {"escape", key::kEscape},       {"space", key::kSpace},
            {"return", key::kReturn},       {"tab", key::kTab},
            {"backspace", key::kBackspace}, {"lshift", key::kLeftShift},
            {"rshift", key::kRightShift},   {"lctrl", key::kLeftControl},
            {"rctrl", key::kRightControl},  {"lalt", key::kLeftAlt},
            {"ralt", key::kRightAlt},       {"pageup", key::kPageUp},
            {"pagedown", key::kPageDown},   {"end", key::kEnd},
            {"home", key::kHome},
        };
        for (char c = 'a'; c <= 'z'; ++c)
            table[std::string(1, c)] = key::letter(c);
        for (int32_t d = 0; d <= 9; ++d) {
            table[std::to_string(d)] = key::digit(d);
            table["kp" + std::to_string(d)] = key::keypad_digit(d);
        }
        for (int32_t f = 1; f <= 12; ++f)
            table["f" + std::to_string(f)] = key::function_key(f);
        return table;
    }();
    return names;
}

const std::map<int32_t, std::string>& key_words() {
    static const std::map<int32_t, std::string> words = [] {
        std::map<int32_t, std::string> table;
        for (const auto& [name, code] : named_keys())
            table.emplace(code, name);
        return table;
    }();
    return words;
}

bool all_digits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Blanks as the C locale's isspace knows them; a line's end never reaches here.
bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}

void split_words(std::string_view line, std::vector<std::string_view>& words) {
    words.clear();
    size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && blank(line[at]))
            ++at;
        const size_t start = at;
        while (at < line.size() && !blank(line[at]))
            ++at;
        if (at > start) words.push_back(line.substr(start, at - start));
    }
}

std::optional<InputEvent> event_for(std::string_view word) {
    if (word == "close") return InputEvent{InputEvent::Kind::Close, 0};
    if (word == "focus") return InputEvent{InputEvent::Kind::Focus, 0};
    InputEvent::Kind kind = InputEvent::Kind::Hit;
    std::string_view key = word;
    if (word.size() > 1 && (word[0] == '+' || word[0] == '-')) {
        kind = word[0] == '+' ? InputEvent::Kind::Press : InputEvent::Kind::Release;
        key = word.substr(1);
    }
    auto code = key_code_for(std::string(key));
    if (!code) return std::nullopt;
    return InputEvent{kind, *code};
}

std::optional<int64_t> whole_number_up_to(std::string_view text, int64_t most) {
    if (!all_digits(text)) return std::nullopt;
    int64_t count = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    if (error != std::errc{} || end != text.data() + text.size() || count > most)
        return std::nullopt;
    return count;
}

std::optional<uint64_t> digest_of(std::string_view text) {
    uint64_t digest = 0;
    if (text.empty() || text.size() > 16) return std::nullopt;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), digest, 16);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return digest;
}

// What one line of a script says.
struct LineReading {
    enum class Kind { Nothing, Seed, Passes, Events, Check, Bad };
    Kind kind = Kind::Nothing;
    int64_t count = 0;     // passes, or the pass a checkpoint names
    bool goes_on = false;  // events that go on in the next line
    int32_t seed = 0;
    uint64_t digest = 0;
    std::string error;
};

LineReading bad(std::string error) {
    return LineReading{LineReading::Kind::Bad, 0, false, 0, 0, std::move(error)};
}

LineReading read_words(const std::vector<std::string_view>& words, PassInput& events) {
    using Kind = LineReading::Kind;
    if (!words.empty() && words[0][0] == '#') return {};
    if (!words.empty() && words[0] == "seed") {
        std::optional<int32_t> seed =
            words.size() == 2 ? parse_seed(std::string(words[1])) : std::nullopt;
        if (!seed) return bad("\"seed\" takes one whole number, once, before any pass");
        return LineReading{Kind::Seed, 0, false, *seed, 0, {}};
    }
    if (!words.empty() && words[0] == "pass") {
        auto count =
            words.size() == 2 ? whole_number_up_to(words[1], kMostScriptPasses) : std::nullopt;
        if (!count) {
            return bad("\"pass\" takes one whole number of at most " +
                       std::to_string(kMostScriptPasses));
        }
        return LineReading{Kind::Passes, *count, false, 0, 0, {}};
    }
    if (!words.empty() && words[0] == "check") {
        auto pass =
            words.size() == 3 ? whole_number_up_to(words[1], kMostScriptPasses) : std::nullopt;
        auto digest = words.size() == 3 ? digest_of(words[2]) : std::nullopt;
        if (!pass || !digest) {
            return bad(
                "\"check\" takes the number of passes before it and a digest of up to 16 "
                "hex digits");
        }
        return LineReading{Kind::Check, *pass, false, 0, *digest, {}};
    }
    const bool goes_on = !words.empty() && words.back() == "\\";
    for (size_t i = 0; i + (goes_on ? 1 : 0) < words.size(); ++i) {
        auto event = event_for(words[i]);
        if (!event) return bad("unknown key or event " + shown_text(std::string(words[i])));
        events.push_back(*event);
    }
    return LineReading{Kind::Events, 1, goes_on, 0, 0, {}};
}

// Reads a line without its end; events are added to `events`. `words` is the caller's, kept
// from line to line so that reading a long script does not allocate for every line.
LineReading read_line(std::string_view line, PassInput& events,
                      std::vector<std::string_view>& words) {
    if (line.size() > kLongestScriptLine) {
        return bad("a line may hold at most " + std::to_string(kLongestScriptLine) + " characters");
    }
    if (line.find('\r') == std::string_view::npos) {
        split_words(line, words);
        return read_words(words, events);
    }
    // A carriage return is dropped wherever it stands.
    std::string without(line);
    std::erase(without, '\r');
    split_words(without, words);
    return read_words(words, events);
}

// The lines of a text, each with its number and where it starts.
class LineWalk {
public:
    explicit LineWalk(const std::string& text, size_t from = 0) : text_(text), next_(from) {}
    bool next() {
        if (next_ >= text_.size()) return false;
        start_ = next_;
        const size_t end = text_.find('\n', start_);
        whole_ = end != std::string::npos;
        line_ = std::string_view(text_).substr(start_, (whole_ ? end : text_.size()) - start_);
        next_ = whole_ ? end + 1 : text_.size();
        ++number_;
        return true;
    }
    std::string_view line() const { return line_; }
    size_t start() const { return start_; }
    size_t after() const { return next_; }
    bool whole() const { return whole_; }
    int32_t number() const { return number_; }

private:
    const std::string& text_;
    size_t next_;
    size_t start_ = 0;
    std::string_view line_;
    bool whole_ = false;
    int32_t number_ = 0;
};

// A recording of a generated dungeon names it: "# dungeon: generator 1, seed 42".
constexpr std::string_view kDungeonMark = "# dungeon: ";

// A recording names the digest its checkpoints carry: "# checkpoints: digest 2".
constexpr std::string_view kDigestMark = "# checkpoints: digest ";

// A recording's comment line names the data it was played on: "# BUILD, data HASH".
// An unknown version reads as 0, which no digest has: every checkpoint then says so.
int32_t digest_version_in(std::string_view text) {
    while (!text.empty() && (text.back() == '\r' || text.back() == ' '))
        text.remove_suffix(1);
    int32_t version = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), version);
    return error == std::errc{} && end == text.data() + text.size() ? version : 0;
}

std::optional<std::string> data_hash_in(std::string_view comment) {
    const std::string_view marker = ", data ";
    const size_t at = comment.rfind(marker);
    if (at == std::string_view::npos) return std::nullopt;
    std::string hash(comment.substr(at + marker.size()));
    std::erase(hash, '\r');
    return hash;
}

// Checks a script line by line into `result`, stopping at the first bad line.
class ScriptChecker {
public:
    explicit ScriptChecker(ScriptParse& result) : result_(result), script_(result.script) {}

    void check() {
        LineWalk walk(script_.text);
        PassInput events;
        while (walk.next()) {
            events.clear();
            const LineReading reading = read_line(walk.line(), events, words_);
            // A last line cut short is left out with what it belonged to. A recording ends
            // every line it writes, so its last line without an end is always cut short, even
            // where what is left reads as a shorter key ("-l" of "-lshift").
            if (!walk.whole() && (reading.kind == LineReading::Kind::Bad || script_.data_hash)) {
                cut(walk.start(), walk.number());
                return;
            }
            if (!take(reading, walk)) return;
        }
        if (going_on_) cut(pass_start_, pass_start_line_);
    }

private:
    bool fail(int32_t line, std::string message) {
        result_.error = ScriptError{line, std::move(message)};
        return false;
    }

    void cut(size_t at, int32_t line) {
        script_.text.resize(at);
        script_.cut_at_line = line;
    }

    bool count_passes(int64_t more, int32_t line) {
        script_.passes += more;
        if (script_.passes <= kMostScriptPasses) return true;
        return fail(line, "the script runs past " + std::to_string(kMostScriptPasses) + " passes");
    }

    bool take(const LineReading& reading, const LineWalk& walk) {
        using Kind = LineReading::Kind;
        const int32_t line = walk.number();
        if (reading.kind == Kind::Bad) return fail(line, reading.error);
        if (going_on_ && reading.kind != Kind::Events)
            return fail(line, "a line ending in \"\\\" goes on in a line of keys");
        switch (reading.kind) {
            case Kind::Nothing:
                if (!begun_ && !script_.data_hash) script_.data_hash = data_hash_in(walk.line());
                if (!begun_ && walk.line().substr(0, kDungeonMark.size()) == kDungeonMark) {
                    script_.dungeon = std::string(walk.line().substr(kDungeonMark.size()));
                    std::erase(*script_.dungeon, '\r');
                }
                if (!begun_ && walk.line().substr(0, kDigestMark.size()) == kDigestMark)
                    script_.digest_version =
                        digest_version_in(walk.line().substr(kDigestMark.size()));
                return true;
            case Kind::Seed:
                if (script_.seed || begun_)
                    return fail(line, "\"seed\" takes one whole number, once, before any pass");
                script_.seed = reading.seed;
                return true;
            case Kind::Passes:
                begun_ = true;
                return count_passes(reading.count, line);
            case Kind::Events:
                begun_ = true;
                if (reading.goes_on && !going_on_) {
                    pass_start_ = walk.start();
                    pass_start_line_ = line;
                }
                going_on_ = reading.goes_on;
                return going_on_ || count_passes(1, line);
            case Kind::Check:
                if (reading.count != script_.passes) {
                    return fail(line, "the checkpoint names pass " + std::to_string(reading.count) +
                                          ", but " + std::to_string(script_.passes) +
                                          " passes stand before it");
                }
                script_.checkpoints.push_back(Checkpoint{reading.count, reading.digest, line});
                return true;
            case Kind::Bad:
                break;
        }
        return false;
    }

    ScriptParse& result_;
    KeyScript& script_;
    bool begun_ = false;
    bool going_on_ = false;
    size_t pass_start_ = 0;
    int32_t pass_start_line_ = 0;
    std::vector<std::string_view> words_;
};

// Reads at most one byte more than a script may hold, so an endless source (/dev/zero) ends.
std::optional<std::string> read_bounded(std::istream& in, const std::string& path,
                                        std::string& text) {
    char chunk[65536];
    while (in && text.size() <= kLargestKeyScript) {
        in.read(chunk, sizeof chunk);
        text.append(chunk, static_cast<size_t>(in.gcount()));
    }
    if (in.bad()) return "cannot read the key script " + path;
    if (text.size() > kLargestKeyScript) {
        return "the key script " + path + " is larger than " + std::to_string(kLargestKeyScript) +
               " bytes";
    }
    return std::nullopt;
}

}  // namespace

PassInput KeyScript::input_for_pass(int64_t index) const {
    ScriptCursor cursor(*this);
    for (int64_t pass = 0; pass < index; ++pass) {
        if (!cursor.next()) return {};
    }
    return cursor.next().value_or(PassInput{});
}

std::optional<PassInput> ScriptCursor::next() {
    if (empty_left_ > 0) {
        --empty_left_;
        return PassInput{};
    }
    PassInput input;
    LineWalk walk(script_.text, offset_);
    while (walk.next()) {
        offset_ = walk.after();
        const LineReading reading = read_line(walk.line(), input, words_);
        if (reading.kind == LineReading::Kind::Passes && reading.count > 0) {
            empty_left_ = reading.count - 1;
            return PassInput{};
        }
        if (reading.kind == LineReading::Kind::Events && !reading.goes_on) return input;
    }
    return std::nullopt;
}

std::optional<int32_t> key_code_for(const std::string& name) {
    std::string lowered = lower_case(name);
    if (auto found = named_keys().find(lowered); found != named_keys().end()) return found->second;
    // A single character was a name above; numbers are codes of two or three digits.
    if (lowered.size() < 2 || lowered.size() > 3 || !all_digits(lowered)) return std::nullopt;
    int32_t code = std::stoi(lowered);
    if (code < 1 || code > 255) return std::nullopt;
    return code;
}

std::string key_word_for(int32_t code) {
    if (auto found = key_words().find(code); found != key_words().end()) return found->second;
    std::string digits = std::to_string(code);
    return digits.size() < 2 ? "0" + digits : digits;
}

ScriptParse parse_key_script(std::string text) {
    ScriptParse result;
    if (text.size() > kLargestKeyScript) {
        result.error = ScriptError{
            0, "a key script may hold at most " + std::to_string(kLargestKeyScript) + " bytes"};
        return result;
    }
    result.script.text = std::move(text);
    ScriptChecker(result).check();
    if (result.error) result.script = KeyScript{};
    return result;
}

std::optional<std::string> read_key_script(const std::string& path, std::istream& standard_input,
                                           std::string& text) {
    text.clear();
    try {
        if (path == "-") return read_bounded(standard_input, path, text);
        std::error_code error;
        if (fs::is_directory(path, error)) return "the key script " + path + " is a folder";
        std::ifstream in(path, std::ios::binary);
        if (!in) return "cannot read the key script " + path;
        // A file's size is known: its text is read into room made once.
        const uintmax_t size = fs::file_size(path, error);
        if (!error && size <= kLargestKeyScript) text.reserve(static_cast<size_t>(size) + 1);
        return read_bounded(in, path, text);
    } catch (const std::exception&) {
        return "cannot read the key script " + path;
    }
}

}  // namespace grotmere
