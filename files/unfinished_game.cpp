#include "files/unfinished_game.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>

#include "base/safe_file.hpp"
#include "files/morgue.hpp"
#include "files/user_data_folder.hpp"
#include "replay/recording.hpp"

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
    const std::string path = *note + ".lock";
    lock_ = FileLock::try_take(path);
    switch (lock_.state()) {
        case FileLock::State::Held:
            held_ = true;
            lock_.name_holder("process " + std::to_string(::getpid()) + ", since " +
                              local_time_text().substr(0, 16) + "\n");
            return;
        case FileLock::State::Busy: {
            const std::string holder = FileLock::holder_named(path);
            elsewhere_ = holder.substr(0, holder.find('\n'));
            if (elsewhere_->empty()) elsewhere_ = "another process";
            return;
        }
        case FileLock::State::Unusable:
            std::fprintf(stderr,
                         "grotmere: warning: the lock %s %s; it is left alone and taken for no "
                         "other window's\n",
                         path.c_str(), lock_.problem().c_str());
            held_ = true;
            return;
    }
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

namespace {

// The recording a note names, made absolute and with every link resolved, when it lies in the
// user's recordings folder and is a plain file there; none otherwise.
std::optional<fs::path> recording_in_folder(const std::string& named) {
    const std::optional<std::string> home = user_data_folder();
    std::error_code error;
    if (!home || named.empty() || fs::path(named).is_relative()) return std::nullopt;
    const fs::path folder = fs::weakly_canonical(fs::path(*home) / "recordings", error);
    if (error || fs::is_symlink(named, error)) return std::nullopt;
    const fs::path path = fs::weakly_canonical(named, error);
    if (error || path.parent_path() != folder) return std::nullopt;
    return path;
}

// The note goes out of the way, kept under another name, with what it named in the warning.
void set_note_aside(const std::string& note, const std::string& named, const std::string& why) {
    const std::string aside = put_aside(note, "set-aside");
    std::fprintf(stderr,
                 "grotmere: warning: the unfinished game's note names %s, which %s; the note is "
                 "set aside as %s and %s is left as it is\n",
                 named.c_str(), why.c_str(), aside.c_str(), named.c_str());
}

}  // namespace

std::optional<UnfinishedGame> find_unfinished(const std::string& data_hash) {
    const std::optional<std::string> note = note_path(data_hash);
    if (!note) return std::nullopt;
    std::string problem;
    const std::optional<std::string> named = read_small_file(*note, kLargestNote, problem);
    if (!named || named->empty()) return std::nullopt;
    UnfinishedGame game;
    game.recording = named->substr(0, named->find('\n'));
    const std::optional<fs::path> inside = recording_in_folder(game.recording);
    if (!inside) {
        set_note_aside(*note, game.recording, "is no file in the recordings folder");
        return std::nullopt;
    }
    std::error_code missing;
    if (!fs::exists(*inside, missing)) {
        set_note_aside(*note, game.recording, "is missing");
        return std::nullopt;
    }
    const std::optional<std::string> text =
        read_small_file(inside->string(), kLargestRecording, problem);
    if (!text || text->empty()) {
        set_note_aside(*note, game.recording, text ? "is empty" : problem);
        return std::nullopt;
    }
    // A crash may have cut the last line: the game goes on from the last whole one.
    game.kept_text = text->substr(0, text->rfind('\n') + 1);
    ScriptParse parsed = parse_key_script(game.kept_text);
    if (parsed.error || !parsed.script.data_hash || *parsed.script.data_hash != data_hash) {
        set_note_aside(*note, game.recording,
                       parsed.error ? "cannot be read as a recording (line " +
                                          std::to_string(parsed.error->line) + ": " +
                                          parsed.error->message + ")"
                                    : "is no recording of these data files");
        return std::nullopt;
    }
    game.script = std::move(parsed.script);
    game.when = last_change(game.recording);
    return game;
}

}  // namespace grotmere
