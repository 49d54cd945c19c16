#include "base/command_line.hpp"

#include <getopt.h>

#include <algorithm>
#include <cstdio>

#ifndef GROTMERE_VERSION
#define GROTMERE_VERSION "unknown"
#endif

namespace grotmere {

namespace {

constexpr int kHelp = 'h';
constexpr int kVersion = 1;
constexpr int kFirstOption = 256;
// The usage's option column: the longest option with its value, then two spaces.
constexpr size_t kLongestOption = 20;

std::vector<option> getopt_table(const ProgramOptions& declared) {
    std::vector<option> table;
    for (size_t k = 0; k < declared.options.size(); ++k) {
        const OptionEntry& each = declared.options[k];
        table.push_back({each.name.data(), each.value.empty() ? no_argument : required_argument,
                         nullptr, kFirstOption + static_cast<int>(k)});
    }
    table.push_back({"help", no_argument, nullptr, kHelp});
    table.push_back({"version", no_argument, nullptr, kVersion});
    table.push_back({nullptr, 0, nullptr, 0});
    return table;
}

std::string dashed(std::string_view name) {
    return "--" + std::string(name);
}

// The option getopt stopped at, as it was written up to its "=".
std::string written_option(const std::vector<std::string>& args, int index) {
    if (index < 1 || static_cast<size_t>(index) > args.size()) return "";
    const std::string& word = args[static_cast<size_t>(index) - 1];
    return word.substr(0, word.find('='));
}

}  // namespace

CommandLine parse_command_line(const ProgramOptions& declared,
                               const std::vector<std::string>& args) {
    // getopt wants the program's name first and writable words.
    std::vector<std::string> words{std::string(declared.program)};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const std::vector<option> table = getopt_table(declared);
    CommandLine line;
    // Read from the start each time, quietly ("+": options end at the first other word; ":": a
    // missing value is told apart from an unknown option).
    optind = 0;
    opterr = 0;
    for (;;) {
        const int found =
            getopt_long(static_cast<int>(words.size()), argv.data(), "+:h", table.data(), nullptr);
        if (found == -1) break;
        if (found == kHelp || found == kVersion) {
            line.action = found == kHelp ? CommandLine::Action::Help : CommandLine::Action::Version;
            return line;
        }
        if (found == ':') {
            const int option = optopt >= kFirstOption ? optopt - kFirstOption : -1;
            line.error = (option >= 0 ? dashed(declared.options[static_cast<size_t>(option)].name)
                                      : written_option(words, optind)) +
                         " needs a value";
            return line;
        }
        if (found == '?') {
            const std::string written = optopt > 0 && optopt < kFirstOption
                                            ? "-" + std::string(1, static_cast<char>(optopt))
                                            : written_option(words, optind);
            line.error = "unknown option " + written;
            return line;
        }
        const OptionEntry& each = declared.options[static_cast<size_t>(found - kFirstOption)];
        line.options.push_back({std::string(each.name), optarg ? optarg : ""});
    }
    if (static_cast<size_t>(optind) < words.size())
        line.error = "unexpected argument " + words[static_cast<size_t>(optind)];
    return line;
}

std::string usage_text(const ProgramOptions& declared) {
    std::string text;
    std::string_view synopsis = declared.synopsis;
    for (bool first = true; !synopsis.empty(); first = false) {
        const size_t end = std::min(synopsis.find('\n'), synopsis.size());
        text += (first ? "usage: " : "       ") + std::string(synopsis.substr(0, end)) + "\n";
        synopsis.remove_prefix(std::min(end + 1, synopsis.size()));
    }
    text += std::string(declared.summary) + "\n\n";
    std::vector<OptionEntry> all = declared.options;
    all.push_back({"help", "", "print this text and exit"});
    all.push_back({"version", "", "print the version and exit"});
    for (const OptionEntry& each : all) {
        std::string left = "  " + dashed(each.name);
        if (!each.value.empty()) left += " " + std::string(each.value);
        std::string_view help = each.help;
        bool first = true;
        while (first || !help.empty()) {
            const size_t end = std::min(help.find('\n'), help.size());
            const std::string column = first ? left : "";
            text += column +
                    std::string(kLongestOption + 2 - std::min(column.size(), kLongestOption), ' ') +
                    std::string(help.substr(0, end)) + "\n";
            help.remove_prefix(std::min(end + 1, help.size()));
            first = false;
        }
    }
    if (!declared.epilog.empty()) text += "\n" + std::string(declared.epilog) + "\n";
    return text;
}

std::optional<int> answer_before_running(const ProgramOptions& declared, CommandLine::Action action,
                                         const std::optional<std::string>& error) {
    const std::string program(declared.program);
    if (error) {
        std::fprintf(stderr, "%s: %s\n%s", program.c_str(), error->c_str(),
                     usage_text(declared).c_str());
        return kUsageError;
    }
    if (action == CommandLine::Action::Run) return std::nullopt;
    const std::string text =
        action == CommandLine::Action::Help ? usage_text(declared) : version_line(program);
    std::fputs(text.c_str(), stdout);
    return 0;
}

std::string_view game_version_number() {
    return GROTMERE_VERSION;
}

std::string version_line(std::string_view program) {
    return std::string(program) + " " + std::string(game_version_number()) + "\n";
}

}  // namespace grotmere
