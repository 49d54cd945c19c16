#include "platform/dom_keymap.hpp"

#include "platform/sdl_keymap.hpp"

namespace grotmere {

namespace {

struct Name {
    std::string_view code;
    int32_t usage;
};

// Runs of keys whose usages are consecutive: the name is the prefix and a number or letter.
struct Run {
    std::string_view prefix;
    char first;
    char last;
    int32_t first_usage;
};

constexpr Run kRuns[] = {
    {"Key", 'A', 'Z', 4},
    {"Digit", '1', '9', 30},
    {"Numpad", '1', '9', 89},
};

constexpr Name kNames[] = {
    {"Digit0", 39},
    {"Enter", 40},
    {"Escape", 41},
    {"Backspace", 42},
    {"Tab", 43},
    {"Space", 44},
    {"Minus", 45},
    {"Equal", 46},
    {"BracketLeft", 47},
    {"BracketRight", 48},
    {"Backslash", 49},
    {"Semicolon", 51},
    {"Quote", 52},
    {"Backquote", 53},
    {"Comma", 54},
    {"Period", 55},
    {"Slash", 56},
    {"CapsLock", 57},
    {"PrintScreen", 70},
    {"ScrollLock", 71},
    {"Pause", 72},
    {"Insert", 73},
    {"Home", 74},
    {"PageUp", 75},
    {"Delete", 76},
    {"End", 77},
    {"PageDown", 78},
    {"ArrowRight", 79},
    {"ArrowLeft", 80},
    {"ArrowDown", 81},
    {"ArrowUp", 82},
    {"NumLock", 83},
    {"NumpadDivide", 84},
    {"NumpadMultiply", 85},
    {"NumpadSubtract", 86},
    {"NumpadAdd", 87},
    {"NumpadEnter", 88},
    {"Numpad0", 98},
    {"NumpadDecimal", 99},
    {"IntlBackslash", 100},
    {"ContextMenu", 101},
    {"Help", 117},
    {"Select", 119},
    {"AudioVolumeMute", 127},
    {"AudioVolumeUp", 128},
    {"AudioVolumeDown", 129},
    {"ControlLeft", 224},
    {"ShiftLeft", 225},
    {"AltLeft", 226},
    {"MetaLeft", 227},
    {"ControlRight", 228},
    {"ShiftRight", 229},
    {"AltRight", 230},
    {"MetaRight", 231},
};

// "F1" to "F24": usages 58-69, then 104-115.
int32_t function_key_usage(std::string_view code) {
    if (code.size() < 2 || code.size() > 3 || code[0] != 'F') return 0;
    int32_t n = 0;
    for (char c : code.substr(1)) {
        if (c < '0' || c > '9') return 0;
        n = n * 10 + (c - '0');
    }
    if (code[1] == '0' || n < 1 || n > 24) return 0;
    return n <= 12 ? 57 + n : 91 + n;
}

int32_t usage_of(std::string_view code) {
    for (const Run& run : kRuns) {
        if (code.size() == run.prefix.size() + 1 && code.starts_with(run.prefix) &&
            code.back() >= run.first && code.back() <= run.last)
            return run.first_usage + (code.back() - run.first);
    }
    for (const Name& name : kNames) {
        if (name.code == code) return name.usage;
    }
    return function_key_usage(code);
}

}  // namespace

int32_t key_code_of_dom_code(std::string_view code) {
    const int32_t usage = usage_of(code);
    return usage == 0 ? 0 : windows_key_code(usage);
}

}  // namespace grotmere
