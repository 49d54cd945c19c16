#include "shell/simulator.hpp"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <limits>
#include <sstream>

#include "platform/drawing.hpp"
#include "platform/headless_backend.hpp"
#include "platform/png_writer.hpp"
#include "shell/content_check.hpp"
#include "shell/key_script.hpp"
#include "shell/main_loop.hpp"
#include "shell/startup.hpp"
#include "shell/state_dump.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace fs = std::filesystem;

namespace {

template <typename Int>
std::optional<Int> parse_number(const std::string& text) {
    int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// A seed is any 32-bit pattern, written signed or unsigned.
std::optional<int32_t> parse_seed(const std::string& text) {
    auto value = parse_number<int64_t>(text);
    if (!value || *value < std::numeric_limits<int32_t>::min() ||
        *value > std::numeric_limits<uint32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(static_cast<uint32_t>(*value));
}

std::optional<std::string> apply_option(SimOptions& options, const std::string& name,
                                        const std::string& value) {
    if (name == "--dir") {
        options.dir = value;
    } else if (name == "--seed") {
        auto seed = parse_seed(value);
        if (!seed) return "--seed takes a whole number";
        options.seed = *seed;
    } else if (name == "--keys") {
        options.keys_file = value;
    } else if (name == "--passes") {
        auto passes = parse_number<int64_t>(value);
        if (!passes || *passes < 0) return "--passes takes a whole number of 0 or more";
        options.passes = *passes;
    } else if (name == "--dump") {
        options.dump_file = value;
    } else if (name == "--screenshot") {
        options.screenshot_file = value;
    } else {
        return "unknown option " + name;
    }
    return std::nullopt;
}

std::optional<std::string> read_whole(const std::string& path, std::istream& standard_input,
                                      std::string& text) {
    if (path == "-") {
        text.assign(std::istreambuf_iterator<char>(standard_input), {});
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) return "cannot read the key script " + path;
    text.assign(std::istreambuf_iterator<char>(in), {});
    return std::nullopt;
}

// Output paths given relative to where the simulator was started, not to the game's directory.
std::optional<std::string> absolute(const std::optional<std::string>& path) {
    if (!path || *path == "-") return path;
    return fs::absolute(*path).string();
}

const char* ended_name(GameEnd end) {
    switch (end) {
        case GameEnd::Escape:
            return "escape";
        case GameEnd::Close:
            return "close";
        case GameEnd::Death:
            return "death";
        case GameEnd::Escaped:
            return "escaped";
    }
    return "script";
}

// Runs the passes; stops early when the game ends.
void run_passes(const KeyScript& script, std::optional<int64_t> exact_passes,
                HeadlessBackend& backend, RunSummary& run) {
    int64_t total = exact_passes ? *exact_passes : script.total_passes();
    auto step = script.steps.begin();
    int64_t used_of_step = 0;
    for (int64_t pass = 0; pass < total; ++pass) {
        while (step != script.steps.end() && used_of_step >= step->passes)
            ++step, used_of_step = 0;
        backend.queue_pass(step != script.steps.end() ? step->input : PassInput{});
        ++used_of_step;
        PassResult result = run_pass();
        ++run.passes;
        if (result.turn_taken) ++run.turns;
        if (result.end) {
            run.ended = ended_name(*result.end);
            return;
        }
    }
}

bool write_outputs(const SimOptions& options, const HeadlessBackend& backend,
                   const RunSummary& run) {
    bool ok = true;
    if (options.screenshot_file) {
        const Framebuffer& shown = backend.last_frame() ? *backend.last_frame() : framebuffer();
        std::string error;
        if (!write_png(shown, *options.screenshot_file, &error)) {
            std::fprintf(stderr, "grotmere-sim: %s\n", error.c_str());
            ok = false;
        }
    }
    if (options.dump_file) {
        std::ofstream out(*options.dump_file, std::ios::binary);
        out << dump_state(run).dump(2) << '\n';
        if (!out) {
            std::fprintf(stderr, "grotmere-sim: cannot write %s\n", options.dump_file->c_str());
            ok = false;
        }
    }
    return ok;
}

// Puts the working directory back however the run ends.
class WorkingDirectory {
public:
    WorkingDirectory() : original_(fs::current_path()) {}
    ~WorkingDirectory() {
        std::error_code ignored;
        fs::current_path(original_, ignored);
    }

private:
    fs::path original_;
};

// The problems go to standard output: they are what was asked for.
int run_check() {
    const LoadProblems problems = check_content();
    for (const LoadProblem& problem : problems)
        std::printf("%s\n", check_line(problem).c_str());
    std::fflush(stdout);
    return problems.empty() ? 0 : 1;
}

}  // namespace

SimArgs parse_sim_args(const std::vector<std::string>& args) {
    SimArgs parsed;
    for (size_t i = 0; i < args.size(); i += 2) {
        // The one option without a value.
        while (i < args.size() && args[i] == "--check") {
            parsed.options.check = true;
            ++i;
        }
        if (i >= args.size()) break;
        if (i + 1 >= args.size()) {
            parsed.usage_error = args[i] + " needs a value";
            return parsed;
        }
        if (auto error = apply_option(parsed.options, args[i], args[i + 1])) {
            parsed.usage_error = *error;
            return parsed;
        }
    }
    return parsed;
}

int run_simulator(const SimOptions& given, std::istream& input) {
    SimOptions options = given;
    options.dump_file = absolute(options.dump_file);
    options.screenshot_file = absolute(options.screenshot_file);

    KeyScript script;
    if (options.keys_file) {
        std::string text;
        if (auto error = read_whole(*options.keys_file, input, text)) {
            std::fprintf(stderr, "grotmere-sim: %s\n", error->c_str());
            return kUsageError;
        }
        ScriptParse parsed = parse_key_script(text);
        if (parsed.error) {
            std::fprintf(stderr, "grotmere-sim: key script line %d: %s\n", parsed.error->line,
                         parsed.error->message.c_str());
            return kUsageError;
        }
        script = std::move(parsed.script);
    }

    WorkingDirectory restore;
    std::error_code error;
    fs::current_path(options.dir, error);
    if (error) {
        std::fprintf(stderr, "grotmere-sim: cannot enter %s: %s\n", options.dir.c_str(),
                     error.message().c_str());
        return kUsageError;
    }

    if (options.check) return run_check();

    reset_world();
    HeadlessBackend backend;
    set_backend(&backend);
    if (auto failure = start_game(StartupOptions{options.seed})) {
        std::fprintf(stderr, "grotmere-sim: %s\n", failure->message.c_str());
        set_backend(nullptr);
        return failure->status;
    }
    RunSummary run;
    run_passes(script, options.passes, backend, run);
    run.notices = backend.notices();
    bool written = write_outputs(options, backend, run);
    set_backend(nullptr);
    return written ? 0 : 1;
}

}  // namespace grotmere
