#include "shell/simulator.hpp"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <utility>

#include "aids/aid_keys.hpp"
#include "aids/picture_notices.hpp"
#include "base/command_line.hpp"
#include "check/content_check.hpp"
#include "files/morgue.hpp"
#include "files/output_files.hpp"
#include "platform/drawing.hpp"
#include "platform/headless_backend.hpp"
#include "platform/keyboard.hpp"
#include "platform/png_writer.hpp"
#include "replay/data_hash.hpp"
#include "replay/key_script.hpp"
#include "replay/playback.hpp"
#include "replay/playback_checks.hpp"
#include "replay/recording.hpp"
#include "replay/state_digest.hpp"
#include "replay/state_dump.hpp"
#include "run/data_folder.hpp"
#include "run/main_loop.hpp"
#include "run/startup.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace fs = std::filesystem;

namespace {

std::optional<std::string> apply_option(SimOptions& options, const std::string& name,
                                        const std::string& value) {
    if (name == "dir") {
        options.dir = value;
    } else if (name == "morgue") {
        options.morgue_file = value;
    } else if (name == "record") {
        options.record_file = value;
    } else if (name == "seed") {
        auto seed = parse_seed(value);
        if (!seed) return "--seed takes a whole number";
        options.seed = *seed;
    } else if (name == "keys") {
        options.keys_file = value;
    } else if (name == "passes") {
        auto passes = parse_whole_number(value);
        if (!passes || *passes < 0) return "--passes takes a whole number of 0 or more";
        options.passes = *passes;
    } else if (name == "dump" || name == "screenshot") {
        // Standard output carries the game's own lines, so an output never goes there.
        if (value == "-" || value.empty())
            return "--" + name + " takes a file name (\"-\" is not one)";
        (name == "dump" ? options.dump_file : options.screenshot_file) = value;
    } else if (name == "classic") {
        options.classic = true;
    } else if (name == "check") {
        options.check = true;
    } else if (name == "check-contracts") {
        options.check_contracts = true;
    }
    return std::nullopt;
}

// Output paths given relative to where the simulator was started, not to the game's directory.
std::optional<std::string> absolute(const std::optional<std::string>& path) {
    if (!path) return path;
    return fs::absolute(*path).string();
}

// Runs the passes; stops early when the game ends, or with the message when the game is no
// longer the one a recording holds.
std::optional<std::string> run_passes(const KeyScript& script, std::optional<int64_t> exact_passes,
                                      HeadlessBackend& backend, RunSummary& run,
                                      GameRecorder& recorder) {
    const int64_t total = exact_passes ? *exact_passes : script.total_passes();
    Playback playback(script, Playback::PastTheEnd::Nothing);
    while (playback.passes() < total) {
        const std::optional<std::string> divergence = playback.run_checked(backend);
        recorder.end_pass();
        run.passes = playback.passes();
        run.turns = playback.turns();
        if (playback.last().end) run.ended = game_end_name(*playback.last().end);
        if (divergence || playback.last().end) return divergence;
    }
    return std::nullopt;
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

// The folder named, else the first place holding game data; where none does, the working
// directory, whose missing files start-up then names.
std::string data_folder_of(const SimOptions& options) {
    if (options.dir) return *options.dir;
    const DataFolderSearch search = find_data_folder(std::nullopt, data_folder_places());
    return search.found ? search.found->string() : ".";
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

std::optional<std::string> clashing_outputs(const SimOptions& o) {
    const std::pair<const char*, const std::optional<std::string>*> outputs[] = {
        {"--dump", &o.dump_file},
        {"--screenshot", &o.screenshot_file},
        {"--record", &o.record_file},
        {"--morgue", &o.morgue_file}};
    for (size_t i = 0; i < std::size(outputs); ++i) {
        for (size_t j = i + 1; j < std::size(outputs); ++j) {
            const auto& [first_name, first] = outputs[i];
            const auto& [second_name, second] = outputs[j];
            if (*first && *second && same_output(**first, **second))
                return std::string(first_name) + " and " + second_name + " name the same file";
        }
    }
    return std::nullopt;
}

// A recording or morgue file named on the command line must not replace a file that is not one.
std::optional<std::string> refused_output(const SimOptions& options) {
    if (options.record_file) {
        if (auto refusal = refusal_to_write(*options.record_file, OutputKind::Recording,
                                            data_folder_of(options)))
            return "--record " + *refusal;
    }
    if (options.morgue_file) {
        if (auto refusal =
                refusal_to_write(*options.morgue_file, OutputKind::Morgue, data_folder_of(options)))
            return "--morgue " + *refusal;
    }
    return std::nullopt;
}

// The problems go to standard output: they are what was asked for.
int run_check() {
    const LoadProblems problems = check_content();
    for (const LoadProblem& problem : problems)
        std::printf("%s\n", check_line(problem).c_str());
    std::fflush(stdout);
    return problems.empty() ? 0 : 1;
}

}  // namespace

const ProgramOptions& sim_command_line() {
    static const ProgramOptions declared{
        "grotmere-sim",
        "grotmere-sim [OPTION]...\n"
        "grotmere-sim --check [--dir DIR]",
        "Runs Grotmere without a window, driven by a key script.",
        {
            {"dir", "DIR",
             "the data folder (default: the current one when it holds bifs/,\n"
             "else the installed game's)"},
            {"seed", "N", "the random seed (default: the script's seed line, else 1)"},
            {"keys", "FILE", "the key script, - for standard input"},
            {"passes", "N", "run exactly N passes"},
            {"dump", "FILE", "write the state at the end as JSON"},
            {"screenshot", "FILE", "write the last frame as an 820 x 470 PNG"},
            {"classic", "", "without the side panel, the help and the history"},
            {"record", "FILE", "write the run's own recording"},
            {"morgue", "FILE", "write the run's morgue file"},
            {"check", "", "play nothing: print every problem of the data, as FILE:LINE: text"},
            {"check-contracts", "",
             "check every cache and index against the plain computation as the\n"
             "game runs (slower; the tests run so)"},
        },
        "Exit status: 0 ran (or --check found nothing), 1 an output could not be written (or\n"
        "--check found problems), 2 a usage error, 3 a recording's checkpoint not met; a failed\n"
        "start-up's own status."};
    return declared;
}

SimArgs parse_sim_args(const std::vector<std::string>& args) {
    SimArgs parsed;
    const CommandLine line = parse_command_line(sim_command_line(), args);
    parsed.action = line.action;
    parsed.usage_error = line.error;
    if (line.error || line.action != CommandLine::Action::Run) return parsed;
    for (const GivenOption& given : line.options) {
        if (auto error = apply_option(parsed.options, given.name, given.value)) {
            parsed.usage_error = *error;
            return parsed;
        }
    }
    // Two outputs into one file would leave only the last.
    if (auto clash = clashing_outputs(parsed.options)) parsed.usage_error = *clash;
    return parsed;
}

int run_simulator(const SimOptions& given, std::istream& input) {
    SimOptions options = given;
    options.dump_file = absolute(options.dump_file);
    options.screenshot_file = absolute(options.screenshot_file);
    options.record_file = absolute(options.record_file);
    options.morgue_file = absolute(options.morgue_file);

    KeyScript script;
    if (options.keys_file) {
        std::string text;
        if (auto error = read_key_script(*options.keys_file, input, text)) {
            std::fprintf(stderr, "grotmere-sim: %s\n", error->c_str());
            return kUsageError;
        }
        ScriptParse parsed = parse_key_script(std::move(text));
        if (parsed.error) {
            if (parsed.error->line > 0) {
                std::fprintf(stderr, "grotmere-sim: key script line %d: %s\n", parsed.error->line,
                             parsed.error->message.c_str());
            } else {
                std::fprintf(stderr, "grotmere-sim: key script: %s\n",
                             parsed.error->message.c_str());
            }
            return kUsageError;
        }
        script = std::move(parsed.script);
    }

    if (auto refusal = refused_output(options)) {
        std::fprintf(stderr, "grotmere-sim: %s\n", refusal->c_str());
        return kUsageError;
    }

    WorkingDirectory restore;
    const std::string dir = data_folder_of(options);
    std::error_code error;
    fs::current_path(dir, error);
    if (error) {
        std::fprintf(stderr, "grotmere-sim: cannot enter %s: %s\n", dir.c_str(),
                     error.message().c_str());
        return kUsageError;
    }

    if (options.check) return run_check();

    reset_world();
    // Asked for, every frame the main loop skips as unchanged is drawn on paper and compared, and
    // every cache and index is compared with the plain walk it stands for: a broken promise ends
    // the run with an error instead of a stale picture. The game plays the same either way.
    check_unchanged_frames(options.check_contracts);
    // The simulator never shows the first-start hint: its pictures must not depend on earlier runs.
    set_window_aids(WindowAids{!options.classic, false});
    HeadlessBackend backend;
    // The end's notices are drawn in the picture as the window draws them, and kept as ever.
    PictureNotices notices(backend, PictureNotices::Wait::No);
    set_backend(options.classic ? static_cast<Backend*>(&backend) : &notices);
    // Without a screenshot no picture is ever looked at.
    if (!options.screenshot_file) set_pixels_wanted(false);
    const int32_t seed = options.seed.value_or(script.seed.value_or(1));
    if (auto failure = start_game(StartupOptions{seed})) {
        std::fprintf(stderr, "grotmere-sim: %s\n", failure->message.c_str());
        set_backend(nullptr);
        return failure->status;
    }
    prepare_playback(script);
    if (options.keys_file) {
        for (const std::string& warning :
             playback_warnings(script, *options.keys_file, options.seed.has_value()))
            std::fprintf(stderr, "grotmere-sim: warning: %s\n", warning.c_str());
    }
    GameRecorder recorder;
    if (options.record_file) {
        recorder.open(open_output(named_output(OutputKind::Recording, *options.record_file)), seed,
                      app_title, data_files_hash("bifs"), state_digest);
        keyboard().set_listener(&recorder);
    }
    RunSummary run;
    const std::optional<std::string> divergence =
        run_passes(script, options.passes, backend, run, recorder);
    keyboard().set_listener(nullptr);
    recorder.close();
    run.notices = backend.notices();
    if (divergence) std::fprintf(stderr, "grotmere-sim: %s\n", divergence->c_str());
    bool written = true;
    if (options.morgue_file) {
        const MorgueFacts facts{local_time_text(),
                                seed,
                                run.ended,
                                run.turns,
                                run.passes,
                                recent_log_lines(),
                                std::filesystem::current_path().string()};
        written =
            write_morgue(named_output(OutputKind::Morgue, *options.morgue_file), morgue_text(facts))
                .has_value();
    }
    written = write_outputs(options, backend, run) && written;
    set_backend(nullptr);
    if (divergence) return kDiverges;
    return written ? 0 : 1;
}

}  // namespace grotmere
