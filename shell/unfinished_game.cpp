#include "shell/unfinished_game.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>

#include "base/safe_file.hpp"
#include "shell/recording.hpp"

namespace grotmere {

namespace fs = std::filesystem;

namespace {

constexpr size_t kLargestNote = 4096;
// A recording larger than any script can be is not read back.
constexpr size_t kLargestRecording = size_t{64} << 20;

std::optional<std::string> notes_folder() {
    const std::optional<std::string> home = user_data_folder();
    if (!home) return std::nullopt;
    return *home + "/unfinished";
}

std::optional<std::string> note_path(const std::string& data_hash) {
    const std::optional<std::string> folder = notes_folder();
    if (!folder || data_hash.empty() || data_hash.find('/') != std::string::npos)
        return std::nullopt;
    return *folder + "/" + data_hash;
}

// The locks this process holds now. A lock naming this process while it holds none was left by
// an earlier process that had the same number: in a browser every page has the same one.
int32_t locks_held_here = 0;

bool process_alive(pid_t pid) {
    if (pid == ::getpid()) return locks_held_here > 0;
    return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM);
}

std::string last_change(const std::string& path) {
    struct stat facts {};
    if (::stat(path.c_str(), &facts) != 0) return "";
    char text[32];
    std::tm local{};
    localtime_r(&facts.st_mtime, &local);
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return text;
}

}  // namespace

UnfinishedLock::UnfinishedLock(const std::string& data_hash) {
    const std::optional<std::string> note = note_path(data_hash);
    if (!note || !make_folders(*notes_folder()).empty()) return;
    const std::string lock = *note + ".lock";
    for (int32_t tries = 0; tries < 2; ++tries) {
        WrittenFile file = create_new_file(lock);
        if (file.is_open()) {
            if (file.append(std::to_string(::getpid()) + "\n") && file.finish()) {
                path_ = lock;
                ++locks_held_here;
            }
            return;
        }
        // Taken: by a window still open, or by one that died without giving it back.
        std::string problem;
        const std::optional<std::string> owner = read_small_file(lock, kLargestNote, problem);
        if (!owner || process_alive(static_cast<pid_t>(std::atol(owner->c_str())))) return;
        std::error_code ignored;
        fs::remove(lock, ignored);
    }
}

UnfinishedLock::~UnfinishedLock() {
    if (!held()) return;
    ::unlink(path_.c_str());
    --locks_held_here;
}

void note_unfinished(const std::string& data_hash, const std::string& recording) {
    const std::optional<std::string> note = note_path(data_hash);
    std::string failure;
    if (note && make_folders(*notes_folder()).empty() &&
        replace_file(*note, recording + "\n", failure))
        return;
    std::fprintf(stderr, "grotmere: warning: this game cannot be continued after a close%s%s\n",
                 failure.empty() ? "" : ": ", failure.c_str());
}

void forget_unfinished(const std::string& data_hash) {
    if (const std::optional<std::string> note = note_path(data_hash)) ::unlink(note->c_str());
}

std::string put_aside(const std::string& recording, const std::string& why) {
    for (int32_t n = 1; n < 1000; ++n) {
        const std::string aside =
            recording + "." + why + (n == 1 ? std::string() : "-" + std::to_string(n));
        // link + unlink: never over a file that is there.
        if (::link(recording.c_str(), aside.c_str()) == 0) {
            ::unlink(recording.c_str());
            return aside;
        }
        if (errno != EEXIST) break;
    }
    return recording;
}

std::optional<UnfinishedGame> find_unfinished(const std::string& data_hash) {
    const std::optional<std::string> note = note_path(data_hash);
    if (!note) return std::nullopt;
    std::string problem;
    const std::optional<std::string> named = read_small_file(*note, kLargestNote, problem);
    if (!named || named->empty()) return std::nullopt;
    UnfinishedGame game;
    game.recording = named->substr(0, named->find('\n'));
    const std::optional<std::string> text =
        read_small_file(game.recording, kLargestRecording, problem);
    if (!text || text->empty()) {
        std::fprintf(stderr, "grotmere: the unfinished game's recording %s %s; it is forgotten\n",
                     game.recording.c_str(), text ? "is empty" : problem.c_str());
        forget_unfinished(data_hash);
        return std::nullopt;
    }
    // A crash may have cut the last line: the game goes on from the last whole one.
    game.kept_text = text->substr(0, text->rfind('\n') + 1);
    ScriptParse parsed = parse_key_script(game.kept_text);
    if (parsed.error || !parsed.script.data_hash || *parsed.script.data_hash != data_hash) {
        const std::string aside = put_aside(game.recording, "unplayable");
        std::fprintf(stderr,
                     "grotmere: the unfinished game's recording cannot be continued (%s); it is "
                     "kept as %s\n",
                     parsed.error ? parsed.error->message.c_str() : "other data files",
                     aside.c_str());
        forget_unfinished(data_hash);
        return std::nullopt;
    }
    game.script = std::move(parsed.script);
    game.when = last_change(game.recording);
    return game;
}

}  // namespace grotmere
