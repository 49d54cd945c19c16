#include "shell/game.hpp"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/backend.hpp"
#include "platform/keyboard.hpp"
#include "platform/replay_backend.hpp"
#include "shell/data_folder.hpp"
#include "shell/data_hash.hpp"
#include "shell/first_start.hpp"
#include "shell/game_options.hpp"
#include "shell/generated_dungeon.hpp"
#include "shell/key_script.hpp"
#include "shell/main_loop.hpp"
#include "shell/morgue.hpp"
#include "shell/recording.hpp"
#include "shell/startup.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

constexpr int kBadFolder = 2;
constexpr int kBadRecording = 2;
const char* const kDataFolder = "bifs";

void report_startup_failure(const StartupFailure& failure) {
    std::fprintf(stderr, "grotmere: %s\n", failure.message.c_str());
    // A message box too, for a player who started the game without a terminal.
    notify(failure.message);
}

bool enter_folder(Backend& window, const GameOptions& options) {
    const DataFolderSearch search = find_data_folder(options.dir, data_folder_places());
    if (!search.found) {
        std::fprintf(stderr, "grotmere: %s\n", search.problem.c_str());
        // Started from a menu, the player sees no terminal.
        window.notify(search.problem, "Grotmere");
        return false;
    }
    std::error_code error;
    std::filesystem::current_path(*search.found, error);
    if (!error) return true;
    std::fprintf(stderr, "grotmere: cannot enter %s: %s\n", search.found->c_str(),
                 error.message().c_str());
    return false;
}

// Generates the dungeon of the seed from the data folder's monsters and items into the user's
// folder, and goes there to play it.
bool enter_generated_dungeon(Backend& window, int32_t seed) {
    const std::optional<std::filesystem::path> target = generated_dungeon_folder(seed);
    std::string error = "neither XDG_DATA_HOME nor HOME is set; there is nowhere to keep it";
    const std::optional<gen::Dungeon> dungeon =
        target ? generate_data_folder(seed, std::filesystem::current_path(), *target, error)
               : std::nullopt;
    std::error_code failed;
    if (dungeon) std::filesystem::current_path(*target, failed);
    if (dungeon && !failed) {
        std::fprintf(stderr, "grotmere: %s in %s\n", generated_dungeon_line(seed).c_str(),
                     target->c_str());
        return true;
    }
    if (failed) error = "cannot enter " + target->string() + ": " + failed.message();
    const std::string message = "cannot generate a dungeon: " + error;
    std::fprintf(stderr, "grotmere: %s\n", message.c_str());
    window.notify(message, "Grotmere");
    return false;
}

// Where this game's recording and morgue file go: the files asked for, else new files named by
// date and seed in the user's folder. Paths given relative are taken from where the game was
// started, before --dir.
struct RunFiles {
    std::optional<std::string> recording;
    std::optional<std::string> morgue;
};

RunFiles run_files(const GameOptions& options, int32_t seed, const std::filesystem::path& start) {
    RunFiles files;
    const std::string name = recording_file_name(seed);
    const std::optional<std::string> folder = user_data_folder();
    if (options.record) {
        if (options.record_file) files.recording = (start / *options.record_file).string();
        if (!options.record_file && folder) files.recording = *folder + "/recordings/" + name;
    }
    if (options.morgue_file) files.morgue = (start / *options.morgue_file).string();
    if (!options.morgue_file && folder) {
        files.morgue = *folder + "/morgue/" + name.substr(0, name.size() - 5) + ".txt";
    }
    if (!folder && ((options.record && !options.record_file) || !options.morgue_file)) {
        std::fprintf(stderr,
                     "grotmere: warning: neither XDG_DATA_HOME nor HOME is set; this game keeps "
                     "no recording or morgue file in the user's folder\n");
    }
    return files;
}

struct RunTally {
    int64_t passes = 0;
    int64_t turns = 0;
    std::string ended = "script";
};

RunTally play(GameRecorder& recorder) {
    RunTally tally;
    for (;;) {
        const PassResult result = run_pass();
        recorder.end_pass();
        ++tally.passes;
        if (result.turn_taken) ++tally.turns;
        if (result.end) {
            tally.ended = game_end_name(*result.end);
            return tally;
        }
    }
}

void finish_files(const RunFiles& files, const RunTally& tally, int32_t seed) {
    // The seed plays this game again with --seed, recorded or not.
    std::fprintf(stderr, "grotmere: seed %d\n", seed);
    if (files.recording)
        std::fprintf(stderr, "grotmere: recording: %s\n", files.recording->c_str());
    if (!files.morgue) return;
    const MorgueFacts facts{local_time_text(),
                            seed,
                            tally.ended,
                            tally.turns,
                            tally.passes,
                            recent_log_lines(),
                            std::filesystem::current_path().string()};
    if (write_morgue(*files.morgue, morgue_text(facts)))
        std::fprintf(stderr, "grotmere: morgue file: %s\n", files.morgue->c_str());
}

bool start(const GameOptions& options, int32_t seed, int& status) {
    if (auto failure = start_game(StartupOptions{seed})) {
        report_startup_failure(*failure);
        status = failure->status;
        return false;
    }
    // Asked only once the game has started, so a folder that holds no game is not noted.
    const bool first_start =
        !options.classic && !options.replay_file &&
        first_start_in(std::filesystem::current_path(), started_folders_file());
    set_window_aids(WindowAids{!options.classic, first_start});
    return true;
}

int play_game(Backend& window, const GameOptions& options, const std::filesystem::path& begun_in) {
    set_backend(&window);
    const int32_t seed = options.seed.value_or(millisecs());
    int status = 0;
    if (!start(options, seed, status)) {
        set_backend(nullptr);
        return status;
    }
    const RunFiles files = run_files(options, seed, begun_in);
    GameRecorder recorder;
    if (files.recording) {
        recorder.open(*files.recording, seed, app_title, data_files_hash(kDataFolder));
        // Keys are taken in at the timer wait only, as a playback hands them over, so the
        // recording replays exactly.
        keyboard().set_listener(&recorder);
        take_in_events_only_at_wait(true);
        // Whatever the keyboard took in during start-up is forgotten, and the recording says so,
        // so the first recorded pass starts from the same keyboard as its playback.
        keyboard().clear_all();
    }
    const RunTally tally = play(recorder);
    keyboard().set_listener(nullptr);
    recorder.close();
    finish_files(files, tally, seed);
    set_backend(nullptr);
    return 0;
}

// The data hash in a recording's comment line ("# ..., data 0123456789abcdef"), if it has one.
std::optional<std::string> recorded_data_hash(const std::string& text) {
    const std::string marker = ", data ";
    const size_t comment = text.find("\n# ");
    if (comment == std::string::npos) return std::nullopt;
    const size_t end = text.find('\n', comment + 1);
    const std::string line = text.substr(comment + 1, end - comment - 1);
    const size_t at = line.rfind(marker);
    if (at == std::string::npos) return std::nullopt;
    return line.substr(at + marker.size());
}

int replay_game(Backend& window, const GameOptions& options, const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text;
    if (in) text.assign(std::istreambuf_iterator<char>(in), {});
    if (!in && !in.eof()) {
        std::fprintf(stderr, "grotmere: cannot read the recording %s\n", path.c_str());
        return kBadRecording;
    }
    ScriptParse parsed = parse_key_script(text);
    if (parsed.error) {
        std::fprintf(stderr, "grotmere: %s:%d: %s\n", path.c_str(), parsed.error->line,
                     parsed.error->message.c_str());
        return kBadRecording;
    }
    const std::optional<std::string> recorded_hash = recorded_data_hash(text);
    if (recorded_hash && *recorded_hash != data_files_hash(kDataFolder)) {
        std::fprintf(stderr,
                     "grotmere: warning: %s was played on other data files; it may not play back "
                     "as it was played\n",
                     path.c_str());
    }
    ScriptCursor cursor(parsed.script);
    ReplayBackend playback(
        window, [&cursor] { return cursor.next(); }, options.speed);
    set_backend(&playback);
    int status = 0;
    const int32_t seed = options.seed.value_or(parsed.script.seed.value_or(1));
    if (start(options, seed, status)) {
        while (!run_pass().end) {
        }
    }
    set_backend(nullptr);
    return status;
}

}  // namespace

int run_game(Backend& backend, const GameOptions& options) {
    const std::filesystem::path begun_in = std::filesystem::current_path();
    if (!enter_folder(backend, options)) return kBadFolder;
    if (options.replay_file) {
        return replay_game(backend, options, (begun_in / *options.replay_file).string());
    }
    if (options.new_dungeon) {
        // The dungeon and the game share the seed, so the seed alone plays the game again.
        GameOptions generated = options;
        generated.seed = options.seed.value_or(static_cast<int32_t>(backend.seed_clock_ms()));
        if (!enter_generated_dungeon(backend, *generated.seed)) return kBadFolder;
        return play_game(backend, generated, begun_in);
    }
    return play_game(backend, options, begun_in);
}

}  // namespace grotmere
