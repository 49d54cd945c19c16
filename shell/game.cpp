#include "shell/game.hpp"

#include <cstdio>
#include <filesystem>
#include <iostream>

#include "aids/aid_keys.hpp"
#include "aids/picture_notices.hpp"
#include "base/command_line.hpp"
#include "base/safe_file.hpp"
#include "files/daily.hpp"
#include "files/first_start.hpp"
#include "files/hall_of_fame.hpp"
#include "files/kept_state.hpp"
#include "files/morgue.hpp"
#include "files/output_files.hpp"
#include "files/unfinished_game.hpp"
#include "files/user_data_folder.hpp"
#include "platform/backend.hpp"
#include "platform/drawing.hpp"
#include "platform/headless_backend.hpp"
#include "platform/keyboard.hpp"
#include "platform/replay_backend.hpp"
#include "replay/data_hash.hpp"
#include "replay/key_script.hpp"
#include "replay/playback.hpp"
#include "replay/playback_checks.hpp"
#include "replay/recording.hpp"
#include "replay/replay_seek.hpp"
#include "replay/state_digest.hpp"
#include "run/data_folder.hpp"
#include "run/main_loop.hpp"
#include "run/startup.hpp"
#include "shell/end_screen.hpp"
#include "shell/game_options.hpp"
#include "shell/generated_dungeon.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

constexpr int kBadFolder = kUsageError;
constexpr int kRefusedFile = kUsageError;
constexpr int kHeldElsewhere = kUsageError;
constexpr int kBadRecording = kUsageError;
const char* const kDataFolder = "bifs";

void report_startup_failure(const StartupFailure& failure) {
    std::string message = failure.message;
    std::error_code ignored;
    if (!std::filesystem::is_directory(kDataFolder, ignored)) {
        message += "\n(there is no " + std::string(kDataFolder) + " folder in " +
                   std::filesystem::current_path(ignored).string() +
                   "; name the game's data folder with --dir DIR)";
    }
    std::fprintf(stderr, "grotmere: %s\n", message.c_str());
    // A message box too, for a player who started the game without a terminal.
    notify(message);
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

// Where this game's recording and morgue file go: the files asked for, else new files named by
// date and seed in the user's folder. Paths given relative are taken from where the game was
// started, before --dir.
struct RunFiles {
    std::optional<OutputTarget> recording;
    std::optional<OutputTarget> morgue;
};

RunFiles run_files(const GameOptions& options, int32_t seed, const std::filesystem::path& start) {
    RunFiles files;
    const std::string stem = recording_file_stem(seed);
    const std::optional<std::string> folder = user_data_folder();
    auto target = [&](OutputKind kind, const std::optional<std::string>& named,
                      const char* subfolder) -> std::optional<OutputTarget> {
        if (named) return named_output(kind, (start / *named).string());
        if (folder) return OutputTarget{kind, {}, *folder + "/" + subfolder, stem};
        return std::nullopt;
    };
    if (options.record)
        files.recording = target(OutputKind::Recording, options.record_file, "recordings");
    files.morgue = target(OutputKind::Morgue, options.morgue_file, "morgue");
    if (!folder && ((options.record && !options.record_file) || !options.morgue_file)) {
        std::fprintf(stderr,
                     "grotmere: warning: neither XDG_DATA_HOME nor HOME is set; this game keeps "
                     "no recording or morgue file in the user's folder\n");
    }
    return files;
}

// A file named on the command line that is no recording or morgue file of ours (or lies among
// the data files) is refused before the game starts.
std::optional<std::string> refused_output(const RunFiles& files) {
    for (const std::optional<OutputTarget>& target : {files.recording, files.morgue}) {
        if (!target || target->path.empty()) continue;
        const char* option = target->kind == OutputKind::Recording ? "--record " : "--morgue ";
        if (auto refusal = refusal_to_write(target->path, target->kind, "."))
            return option + *refusal;
    }
    return std::nullopt;
}

struct RunTally {
    int64_t passes = 0;
    int64_t turns = 0;
    std::string ended = "script";
};

// A game kept over a close keeps its state beside its recording now and then, so that it
// continues at once even after a crash; `turns_before` are those of its earlier sessions.
RunTally play(GameRecorder& recorder, bool keeps_states, int64_t turns_before) {
    RunTally tally;
    for (;;) {
        const PassResult result = run_pass();
        recorder.end_pass();
        ++tally.passes;
        if (result.turn_taken) ++tally.turns;
        if (keeps_states && recorder.passes() % kKeptStateSpacing == 0)
            keep_state_beside(recorder, turns_before + tally.turns);
        if (result.end) {
            tally.ended = game_end_name(*result.end);
            return tally;
        }
    }
}

// "3 of 5", the deepest depth the player reached in a generated dungeon; "" in one made by hand.
std::string deepest_depth_text_of(const DepthReached& depth) {
    if (depth.of == 0) return "";
    return std::to_string(depth.deepest) + " of " + std::to_string(depth.of);
}
std::string deepest_depth_text() {
    return deepest_depth_text_of(depth_reached());
}

// Names only the files that were written whole; the path of the morgue file written, or "".
std::string finish_files(const GameOptions& options, const RunFiles& files,
                         const GameRecorder& recorder, const RunTally& tally, int32_t seed) {
    // The seed plays this game again with --seed, recorded or not.
    std::fprintf(stderr, "grotmere: seed %d\n", seed);
    if (auto written = recorder.written_path())
        std::fprintf(stderr, "grotmere: recording: %s\n", written->c_str());
    if (!files.morgue) return "";
    const MorgueFacts facts{local_time_text(),
                            seed,
                            tally.ended,
                            tally.turns,
                            tally.passes,
                            recent_log_lines(),
                            std::filesystem::current_path().string(),
                            dungeon_here(),
                            recorder.written_path().value_or(""),
                            deepest_depth_text(),
                            options.daily_day};
    const std::optional<std::string> written = write_morgue(*files.morgue, morgue_text(facts));
    if (!written) return "";
    std::fprintf(stderr, "grotmere: morgue file: %s\n", written->c_str());
    return *written;
}

// Every ended game joins the hall of fame; the best of these data files, this game among them.
std::vector<Score> note_score(const Score& game) {
    const std::optional<std::string> file = scores_file();
    if (!file) return {};
    if (auto failure = add_score(*file, game))
        std::fprintf(stderr, "grotmere: warning: %s\n", failure->c_str());
    std::string problem;
    const std::optional<std::string> text = read_small_file(*file, size_t{16} << 20, problem);
    return text ? best_scores(read_score_text(*text).scores, game.data_hash, 10)
                : std::vector<Score>{game};
}

// A death or an escape shows the end screen, unless the game is played --classic.
AfterTheEnd after_the_end(const GameOptions& options, const RunTally& tally, int32_t seed,
                          const std::string& morgue, const std::string& recording) {
    Score game = score_of_game(local_time_text(), seed, tally.ended, tally.turns,
                               data_files_hash(kDataFolder), recording);
    const DepthReached depth = depth_reached();
    game.deepest = depth.deepest;
    game.depths = depth.of;
    if (!options.daily_day.empty()) game.daily = options.daily_day;
    const std::vector<Score> best = note_score(game);
    const std::string daily_result =
        options.daily_day.empty() ? ""
                                  : daily_result_line(options.daily_day, tally.ended, depth.deepest,
                                                      tally.turns, game.level);
    // A daily game's result goes to standard output too, to be copied from a terminal.
    if (!daily_result.empty()) std::printf("%s\n", daily_result.c_str());
    if (options.classic || (tally.ended != "death" && tally.ended != "escaped"))
        return AfterTheEnd::Quit;
    // The aids' keys are no more: Return and Escape belong to the end screen.
    set_window_aids(WindowAids{});
    EndScreenFacts facts = end_screen_facts(tally.ended, tally.turns, morgue);
    facts.seed = seed;
    facts.depth = deepest_depth_text_of(depth);
    facts.daily_result = daily_result;
    show_best_scores(facts, best, game);
    return show_end_screen(facts);
}

// The first screen's word when another window keeps the game of these data files.
const char* const kNotKeptNotice = "Not kept over a close: another window plays here";

bool start(const GameOptions& options, int32_t seed, int& status,
           const std::string& notice = std::string()) {
    if (auto failure = start_game(StartupOptions{seed})) {
        report_startup_failure(*failure);
        status = failure->status;
        return false;
    }
    // Asked only once the game has started, so a folder that holds no game is not noted.
    const bool first_start =
        !options.classic && !options.replay_file &&
        first_start_in(std::filesystem::current_path(), started_folders_file());
    set_window_aids(WindowAids{!options.classic, first_start, notice});
    return true;
}

struct GameOutcome {
    int status = 0;
    AfterTheEnd next = AfterTheEnd::Quit;
};

// Whether a close request keeps the game to be continued: a recorded game with the aids, whose
// data folder this window holds the lock of.
bool keeps_over_close(const GameOptions& options, const GameRecorder& recorder,
                      const UnfinishedLock* lock) {
    return !options.classic && recorder.recording() && lock && lock->held();
}

// A game from its first pass on: played until it ends, then its files, the hall of fame and the
// end screen. A game kept over a close request writes none of them: its note stays.
GameOutcome play_on(const GameOptions& options, const RunFiles& files, GameRecorder& recorder,
                    int32_t seed, bool keep_over_close, const RunTally& so_far = {}) {
    const std::string data_hash = data_files_hash(kDataFolder);
    if (keep_over_close) {
        recorder.leave_out_close_requests(true);
        note_unfinished(data_hash, recorder.path());
    }
    // With the aids, presses that come faster than the passes wait for theirs instead of being
    // lost, and so the keys are taken in at the timer wait only.
    if (!options.classic) {
        take_in_events_only_at_wait(true);
        keyboard().set_one_press_per_pass(true);
    }
    Backend* window = current_backend();
    if (window) window->before_vanishing([&recorder] { recorder.write_out(); });
    // With the aids the end's notices are drawn in the picture, and the end screen follows.
    std::optional<PictureNotices> notices;
    if (window && !options.classic)
        set_backend(&notices.emplace(*window, PictureNotices::Wait::ForAKey));
    RunTally tally = play(recorder, keep_over_close, so_far.turns);
    if (window) window->before_vanishing({});
    tally.passes += so_far.passes;
    tally.turns += so_far.turns;
    keyboard().set_one_press_per_pass(false);
    keyboard().set_listener(nullptr);
    recorder.close();
    if (keep_over_close && tally.ended == "close") {
        keep_state_beside(recorder, tally.turns);
        std::fprintf(stderr, "grotmere: the game is kept; start grotmere again to continue it\n");
        set_backend(nullptr);
        return GameOutcome{};
    }
    if (keep_over_close) {
        forget_unfinished(data_hash);
        forget_kept_state(recorder.path());
    }
    const std::string morgue = finish_files(options, files, recorder, tally, seed);
    const std::optional<std::string> recording = recorder.written_path();
    const AfterTheEnd next =
        after_the_end(options, tally, seed, morgue,
                      recording ? std::filesystem::path(*recording).filename().string() : "-");
    set_backend(nullptr);
    return GameOutcome{0, next};
}

GameOutcome play_game(Backend& window, const GameOptions& options,
                      const std::filesystem::path& begun_in, const UnfinishedLock* lock) {
    set_backend(&window);
    const int32_t seed = options.seed.value_or(millisecs());
    const RunFiles files = run_files(options, seed, begun_in);
    if (auto refusal = refused_output(files)) {
        std::fprintf(stderr, "grotmere: %s\n", refusal->c_str());
        set_backend(nullptr);
        return GameOutcome{kRefusedFile};
    }
    int status = 0;
    if (!start(options, seed, status, lock && lock->elsewhere() ? kNotKeptNotice : "")) {
        set_backend(nullptr);
        return GameOutcome{status};
    }
    GameRecorder recorder;
    if (files.recording) {
        recorder.open(open_output(*files.recording), seed, app_title, data_files_hash(kDataFolder),
                      state_digest, dungeon_here());
        // Keys are taken in at the timer wait only, as a playback hands them over, so the
        // recording replays exactly.
        keyboard().set_listener(&recorder);
        take_in_events_only_at_wait(true);
        // Whatever the keyboard took in during start-up is forgotten, and the recording says so,
        // so the first recorded pass starts from the same keyboard as its playback.
        keyboard().clear_all();
    }
    return play_on(options, files, recorder, seed, keeps_over_close(options, recorder, lock));
}

// Plays an unfinished game's recording back without a window, from the state kept beside it when
// that is good, checking every checkpoint: the game stands where it stood when it was left. None
// when it does; else why it cannot go on.
std::optional<std::string> restore(const GameOptions& options, const UnfinishedGame& game,
                                   RunTally& tally) {
    HeadlessBackend quiet;
    set_backend(&quiet);
    int status = 0;
    if (!start(options, game.script.seed.value_or(1), status))
        return "the data files no longer start a game";
    prepare_playback(game.script);
    Playback playback(game.script, Playback::PastTheEnd::Nothing);
    std::string why;
    if (!go_to_kept_state(game, playback, why) && !why.empty()) {
        std::fprintf(stderr,
                     "grotmere: the state kept beside the recording is not used (%s); the "
                     "recording is played from its start\n",
                     why.c_str());
    }
    const int64_t played_from = playback.passes();
    tally.passes = playback.passes();
    tally.turns = playback.turns();
    const WithoutPixels unseen;
    while (playback.passes() < game.script.passes) {
        const std::optional<std::string> divergence = playback.run_checked(quiet);
        tally.passes = playback.passes();
        tally.turns = playback.turns();
        if (divergence) return *divergence;
        if (playback.last().end) return "the recorded game has ended already";
    }
    if (played_from < game.script.passes) keep_state_beside(game, tally.turns);
    return std::nullopt;
}

// Restores the unfinished game and, on Return, goes on with it in the window, its recording going
// on in the same file; on Escape ends it there, with its morgue file and its place in the hall of
// fame. A game that cannot be restored is put aside, never lost.
GameOutcome continue_or_end(Backend& window, const GameOptions& options, const UnfinishedGame& game,
                            bool go_on, const UnfinishedLock& lock) {
    const std::string data_hash = data_files_hash(kDataFolder);
    RunTally so_far{0, 0, "close"};
    if (auto failure = restore(options, game, so_far)) {
        forget_kept_state(game.recording);
        const std::string aside = put_aside(game.recording, "diverged");
        const std::string message = "The unfinished game cannot be continued: " + *failure +
                                    ". Its recording is kept as " + aside + ".";
        std::fprintf(stderr, "grotmere: %s\n", message.c_str());
        forget_unfinished(data_hash);
        window.notify(message, "Grotmere");
        reset_world();
        return GameOutcome{0, AfterTheEnd::NewGame};
    }
    set_backend(&window);
    window.open_window(kWindowWidth, kWindowHeight, app_title);
    frame_timer = create_timer(20);
    const int32_t seed = game.script.seed.value_or(1);
    RunFiles files;
    files.morgue = run_files(GameOptions{}, seed, std::filesystem::current_path()).morgue;
    GameRecorder recorder;
    const int64_t checked =
        game.script.checkpoints.empty() ? -1 : game.script.checkpoints.back().pass;
    // Its new checkpoints carry the digest its old ones do; a digest this build does not know
    // adds none.
    const int32_t version = game.script.digest_version;
    GameRecorder::StateDigest digest;
    if (knows_digest(version)) digest = [version] { return *state_digest_of_version(version); };
    recorder.resume(create_replacement(game.recording), game.kept_text, game.script.passes, checked,
                    digest);
    if (!go_on) {
        recorder.close();
        forget_unfinished(data_hash);
        forget_kept_state(game.recording);
        const std::string morgue = finish_files(options, files, recorder, so_far, seed);
        after_the_end(options, so_far, seed, morgue,
                      std::filesystem::path(game.recording).filename().string());
        set_backend(nullptr);
        reset_world();
        return GameOutcome{0, AfterTheEnd::NewGame};
    }
    keyboard().set_listener(&recorder);
    take_in_events_only_at_wait(true);
    keyboard().clear_all();
    set_aid_keys(!options.classic);
    return play_on(options, files, recorder, seed, keeps_over_close(options, recorder, &lock),
                   so_far);
}

// When another window plays on these data files, --continue cannot take its game over: the player
// is told where it is (exit 2); a plain start plays a game of its own that is not kept over a
// close, and says so.
std::optional<int> answer_to_a_held_game(Backend& window, const GameOptions& options,
                                         const UnfinishedLock& lock) {
    if (!lock.elsewhere()) return std::nullopt;
    const std::string where =
        "another window plays on these data files (" + *lock.elsewhere() + ")";
    if (options.continue_game) {
        const std::string message =
            "The kept game cannot be continued here: " + where + ". Continue it there.";
        std::fprintf(stderr, "grotmere: %s\n", message.c_str());
        window.notify(message, "Grotmere");
        return kHeldElsewhere;
    }
    std::fprintf(stderr, "grotmere: %s: this game will not be kept over a close\n", where.c_str());
    return std::nullopt;
}

// The unfinished game offered in the window, continued or ended as the player answers. A close
// at the offer answers nothing: the game stays kept, as it was, for the next start.
GameOutcome offer_unfinished(Backend& window, const GameOptions& options,
                             const UnfinishedGame& unfinished, const UnfinishedLock& lock) {
    set_backend(&window);
    window.open_window(kWindowWidth, kWindowHeight, read_app_title("build.cnt"));
    frame_timer = create_timer(20);
    const OfferAnswer answer =
        options.continue_game ? OfferAnswer::Continue : ask_to_continue(unfinished);
    if (answer == OfferAnswer::Close) {
        std::fprintf(stderr, "grotmere: the game is kept; start grotmere again to continue it\n");
        set_backend(nullptr);
        return GameOutcome{};
    }
    return continue_or_end(window, options, unfinished, answer == OfferAnswer::Continue, lock);
}

// Game after game while the end screen asks for a new one: each with a new seed, its recording
// and morgue file in the user's folder. With --new-dungeon each game is played in the dungeon
// generated from its seed, made from the data folder the player chose. A game left unfinished on
// these data files is offered first.
int play_games(Backend& window, const GameOptions& options, const std::filesystem::path& begun_in) {
    const std::filesystem::path data_folder = std::filesystem::current_path();
    GameOptions game = options;
    bool offered = false;
    for (;;) {
        if (game.daily) {
            // Every game of the day is played in the day's dungeon, with the day's seed.
            game.daily_day = utc_date_today();
            game.seed = daily_seed(game.daily_day);
        }
        if (game.new_dungeon || game.daily) {
            // The dungeon and the game share the seed, so the seed alone plays the game again.
            game.seed = game.seed.value_or(static_cast<int32_t>(window.seed_clock_ms()));
            std::filesystem::current_path(data_folder);
            if (!enter_generated_dungeon(window, *game.seed)) return kBadFolder;
        }
        const bool may_keep = !game.classic && game.record && !game.record_file;
        const UnfinishedLock lock(may_keep ? data_files_hash(kDataFolder) : std::string());
        if (std::optional<int> refused = answer_to_a_held_game(window, game, lock)) return *refused;
        std::optional<UnfinishedGame> unfinished;
        if (lock.held() && !offered) unfinished = find_unfinished(data_files_hash(kDataFolder));
        offered = true;
        const GameOutcome outcome = unfinished ? offer_unfinished(window, game, *unfinished, lock)
                                               : play_game(window, game, begun_in, &lock);
        if (outcome.next == AfterTheEnd::Quit) return outcome.status;
        game.seed.reset();
        game.record_file.reset();
        game.morgue_file.reset();
        game.continue_game = false;
        reset_world();
    }
}

// Where the player asked the playback to go, from where it stands.
int64_t sought_turn(const SeekRequest& request, const ReplaySeeker& seeker) {
    switch (request.kind) {
        case SeekRequest::Kind::By:
            return seeker.turn() + request.turns;
        case SeekRequest::Kind::To:
            return request.turns;
        case SeekRequest::Kind::End:
            break;
    }
    return seeker.total_turns();
}

// Plays the recording in the window until the player stops it; at its end the last picture stays
// while the player may still go back.
int play_back(ReplayBackend& playback, ReplaySeeker& seeker) {
    for (;;) {
        playback.set_position(seeker.turn(), seeker.total_turns());
        playback.hold(seeker.ended());
        if (playback.stopped()) return 0;
        if (std::optional<SeekRequest> request = playback.take_seek()) {
            if (!seeker.seek_turn(sought_turn(*request, seeker), playback)) return 1;
            continue;
        }
        seeker.run_one();
    }
}

int replay_game(Backend& window, const GameOptions& options, const ReplayFile& replay) {
    const std::vector<std::string> warnings =
        playback_warnings(replay.script, replay.path, options.seed.has_value());
    for (const std::string& warning : warnings)
        std::fprintf(stderr, "grotmere: warning: %s\n", warning.c_str());
    int status = 0;
    const int32_t seed = options.seed.value_or(replay.script.seed.value_or(1));
    ReplaySeeker seeker(replay.script, [&] {
        const bool started = start(options, seed, status);
        if (started) prepare_playback(replay.script);
        return started;
    });
    PictureNotices notices(window, PictureNotices::Wait::ForAKey);
    notices.arm(false);
    ReplayBackend playback(
        options.classic ? window : notices, [&seeker] { return seeker.next_input(); },
        options.speed);
    // The window says it too, shortly; standard error has the whole text.
    if (!warnings.empty()) playback.set_warning("WARNING, see standard error");
    if (std::optional<std::string> failure = seeker.survey()) {
        set_backend(&playback);
        if (status == 0) {
            std::fprintf(stderr, "grotmere: %s\n", failure->c_str());
            notify(*failure);
            status = kDiverges;
        }
    } else {
        set_backend(&playback);
        window.open_window(kWindowWidth, kWindowHeight, window_caption());
        notices.arm(true);
        status = play_back(playback, seeker);
    }
    set_backend(nullptr);
    return status;
}

}  // namespace

std::optional<ReplayFile> read_replay(const std::string& path) {
    std::string text;
    if (auto failure = read_key_script(path, std::cin, text)) {
        std::fprintf(stderr, "grotmere: %s\n", failure->c_str());
        return std::nullopt;
    }
    ScriptParse parsed = parse_key_script(std::move(text));
    if (parsed.error) {
        std::fprintf(stderr, "grotmere: %s:%d: %s\n", path.c_str(), parsed.error->line,
                     parsed.error->message.c_str());
        return std::nullopt;
    }
    return ReplayFile{path, std::move(parsed.script)};
}

int run_game(Backend& backend, const GameOptions& options, const ReplayFile* replay) {
    const std::filesystem::path begun_in = std::filesystem::current_path();
    if (!enter_folder(backend, options)) return kBadFolder;
    if (replay && replay->script.dungeon &&
        !enter_recorded_dungeon(backend, replay->path, *replay->script.dungeon))
        return kBadRecording;
    if (replay) return replay_game(backend, options, *replay);
    return play_games(backend, options, begun_in);
}

}  // namespace grotmere
