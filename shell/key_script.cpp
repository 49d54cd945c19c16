#include "shell/key_script.hpp"

#include <algorithm>
#include <charconv>
#include <climits>
#include <map>
#include <sstream>

#include "base/text.hpp"
#include "platform/key_codes.hpp"
#include "shell/command_line.hpp"

namespace grotmere {

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

bool all_digits(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<std::string> words_of(const std::string& line) {
    std::istringstream stream(line);
    std::vector<std::string> words;
    for (std::string word; stream >> word;)
        words.push_back(word);
    return words;
}

std::optional<InputEvent> event_for(const std::string& word) {
    if (word == "close") return InputEvent{InputEvent::Kind::Close, 0};
    if (word == "focus") return InputEvent{InputEvent::Kind::Focus, 0};
    InputEvent::Kind kind = InputEvent::Kind::Hit;
    std::string key = word;
    if (word.size() > 1 && (word[0] == '+' || word[0] == '-')) {
        kind = word[0] == '+' ? InputEvent::Kind::Press : InputEvent::Kind::Release;
        key = word.substr(1);
    }
    auto code = key_code_for(key);
    if (!code) return std::nullopt;
    return InputEvent{kind, *code};
}

std::optional<int64_t> pass_count(const std::vector<std::string>& words) {
    if (words.size() != 2 || words[0] != "pass" || !all_digits(words[1])) return std::nullopt;
    int64_t count = 0;
    auto [end, error] = std::from_chars(words[1].data(), words[1].data() + words[1].size(), count);
    if (error != std::errc{} || end != words[1].data() + words[1].size()) return std::nullopt;
    if (count > kMostScriptPasses) return std::nullopt;
    return count;
}

}  // namespace

int64_t KeyScript::total_passes() const {
    int64_t total = 0;
    for (const ScriptStep& step : steps)
        total += step.passes;
    return total;
}

PassInput KeyScript::input_for_pass(int64_t index) const {
    for (const ScriptStep& step : steps) {
        if (index < step.passes) return step.input;
        index -= step.passes;
    }
    return {};
}

std::optional<PassInput> ScriptCursor::next() {
    while (step_ < script_.steps.size() && used_of_step_ >= script_.steps[step_].passes) {
        ++step_;
        used_of_step_ = 0;
    }
    if (step_ >= script_.steps.size()) return std::nullopt;
    ++used_of_step_;
    return script_.steps[step_].input;
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

ScriptParse parse_key_script(const std::string& text) {
    ScriptParse result;
    std::istringstream lines(text);
    int32_t number = 0;
    int64_t passes = 0;
    auto count_passes = [&](int64_t more) {
        passes += more;
        if (passes <= kMostScriptPasses) return true;
        result.error = ScriptError{
            number, "the script runs past " + std::to_string(kMostScriptPasses) + " passes"};
        return false;
    };
    if (text.size() > kLargestKeyScript) {
        result.error = ScriptError{
            0, "a key script may hold at most " + std::to_string(kLargestKeyScript) + " bytes"};
        return result;
    }
    for (std::string line; std::getline(lines, line);) {
        ++number;
        if (line.size() > kLongestScriptLine) {
            result.error =
                ScriptError{number, "a line may hold at most " +
                                        std::to_string(kLongestScriptLine) + " characters"};
            return result;
        }
        std::erase(line, '\r');
        std::vector<std::string> words = words_of(line);
        if (!words.empty() && words[0][0] == '#') continue;
        if (!words.empty() && words[0] == "seed") {
            std::optional<int32_t> seed = words.size() == 2 ? parse_seed(words[1]) : std::nullopt;
            if (!seed || result.script.seed || !result.script.steps.empty()) {
                result.error =
                    ScriptError{number, "\"seed\" takes one whole number, once, before any pass"};
                return result;
            }
            result.script.seed = seed;
            continue;
        }
        if (!words.empty() && words[0] == "pass") {
            auto count = pass_count(words);
            if (!count) {
                result.error = ScriptError{number, "\"pass\" takes one whole number of at most " +
                                                       std::to_string(kMostScriptPasses)};
                return result;
            }
            if (!count_passes(*count)) return result;
            result.script.steps.push_back(ScriptStep{{}, *count});
            continue;
        }
        if (!count_passes(1)) return result;
        ScriptStep step;
        for (const std::string& word : words) {
            auto event = event_for(word);
            if (!event) {
                result.error = ScriptError{number, "unknown key or event " + shown_text(word)};
                return result;
            }
            step.input.push_back(*event);
        }
        result.script.steps.push_back(std::move(step));
    }
    return result;
}

}  // namespace grotmere
