// The programs' command lines. Each program declares its options once, as a table: the C
// library's getopt_long reads them (the same on the desktop and in the browser, where the page's
// query is the game's command line), the table writes the usage that --help prints, and a test
// holds each program's manual page against its table. The conventions are the GNU ones:
// "--opt value" and "--opt=value", "--" ends the options, --help and --version in every program;
// an unknown option is named as unknown, a missing value names its option. What a value means
// (a number, a file) each program checks itself, with the helpers below.
#pragma once

#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace grotmere {

// The exit statuses every program shares: 0 done, 1 failed, 2 a usage error, 3 a recording that
// stops being the game recorded.
inline constexpr int kExitFailure = 1;
inline constexpr int kUsageError = 2;
inline constexpr int kDiverges = 3;

struct OptionEntry {
    std::string_view name;   // without its dashes: "seed"
    std::string_view value;  // the value's name in the usage ("N", "FILE"); empty for a switch
    std::string_view help;   // for --help; "\n" starts a further line
};

struct ProgramOptions {
    std::string_view program;          // "grotmere-sim"
    std::string_view synopsis;         // the usage's lines after "usage: ", "\n" between them
    std::string_view summary;          // one line under them
    std::vector<OptionEntry> options;  // --help and --version come with every program
    std::string_view epilog;           // the lines after the options, if any
};

struct GivenOption {
    std::string name;
    std::string value;
};

struct CommandLine {
    enum class Action { Run, Help, Version };
    Action action = Action::Run;
    std::vector<GivenOption> options;  // in the order given
    std::optional<std::string> error;  // "unknown option --x", "--seed needs a value", ...
};

CommandLine parse_command_line(const ProgramOptions& declared,
                               const std::vector<std::string>& args);

// What --help prints.
std::string usage_text(const ProgramOptions& declared);
// What every program does before its work: for a usage error, the error and the usage on standard
// error (exit status 2); for --help or --version, their text on standard output (0). None when
// the program goes on.
std::optional<int> answer_before_running(const ProgramOptions& declared, CommandLine::Action action,
                                         const std::optional<std::string>& error);
// What --version prints: "grotmere-sim 0.3.0".
std::string version_line(std::string_view program);
// The version the build was given, "0.3.0".
std::string_view game_version_number();

// The whole text as a decimal number, or nothing.
inline std::optional<int64_t> parse_whole_number(const std::string& text) {
    int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// A seed is any 32-bit pattern, written signed or unsigned.
inline std::optional<int32_t> parse_seed(const std::string& text) {
    auto value = parse_whole_number(text);
    if (!value || *value < std::numeric_limits<int32_t>::min() ||
        *value > std::numeric_limits<uint32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(static_cast<uint32_t>(*value));
}

}  // namespace grotmere
