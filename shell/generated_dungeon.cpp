#include "shell/generated_dungeon.hpp"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <system_error>

#include "actors/gegner.hpp"
#include "check/content_check.hpp"
#include "files/generated_folder.hpp"
#include "files/user_data_folder.hpp"
#include "gen/dungeon_check.hpp"
#include "platform/backend.hpp"
#include "records/definition_loader.hpp"
#include "replay/recording.hpp"
#include "run/record_types.hpp"
#include "run/startup_definitions.hpp"
#include "world/key.hpp"
#include "world/leuchte.hpp"
#include "world/map_file.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace fs = std::filesystem;

namespace {

// Runs in another folder and comes back however it ends: the loader reads paths relative to the
// working directory.
class InFolder {
public:
    explicit InFolder(const fs::path& folder) : back_(fs::current_path()) {
        fs::current_path(folder);
    }
    ~InFolder() {
        std::error_code ignored;
        fs::current_path(back_, ignored);
    }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

private:
    fs::path back_;
};

bool usable_name(const std::string& name) {
    return !name.empty() && name.find('"') == std::string::npos;
}

void read_monsters(gen::Palette& palette) {
    monster_prototypes->for_each_of<TGegner>([&](std::shared_ptr<TGegner>& monster) {
        if (usable_name(monster->name))
            palette.monsters.push_back({monster->name, monster->level, monster->attack_range,
                                        monster->gold_drop, monster->xp});
    });
}

// Lamps that are never found (worth nothing) are the ones that stand on maps.
void read_lamps(gen::Palette& palette) {
    item_prototypes->for_each_of<TLeuchte>([&](std::shared_ptr<TLeuchte>& lamp) {
        if (lamp->preis == 0 && usable_name(lamp->name))
            palette.lamps.push_back({lamp->name, lamp->reichweite, lamp->brennt != 0});
    });
}

// The keys the player starts with, by their prototypes' key ids.
void read_keys(gen::Palette& palette) {
    RecordList pack;
    read_definitions(pack, kPlayerFile, 0);
    pack.for_each_of<TKey>([&](std::shared_ptr<TKey>& named) {
        item_prototypes->for_each_of<TKey>([&](std::shared_ptr<TKey>& key) {
            const bool known = std::any_of(palette.keys.begin(), palette.keys.end(),
                                           [&](const auto& k) { return k.key_id == key->key_id; });
            if (key->name == named->name && !known)
                palette.keys.push_back({key->name, key->key_id});
        });
    });
}

std::string file_text(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The player file with the start placed: its first record gets x and y set once more at its end,
// which wins over the values before (a "}" inside quotes or a comment line is not the end).
std::string player_file_with_start(const std::string& text, gen::Cell start) {
    bool quoted = false, line_start = true, comment = false, in_record = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (line_start) comment = c == '/';
        line_start = c == '\n';
        if (comment || c == '\n') continue;
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '{') in_record = true;
        if (c == '}' && in_record) {
            return text.substr(0, i) + "\n    / Where the generated dungeon starts.\n    x = " +
                   std::to_string(start.x) + "\n    y = " + std::to_string(start.y) + "\n" +
                   text.substr(i);
        }
    }
    return text;
}

// What a generated folder holds: the source's data files, its build counter, the dungeon's map
// and the player file with the start placed.
FolderFiles folder_files(const fs::path& source, const gen::Dungeon& dungeon) {
    FolderFiles files;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(source / "bifs", error)) {
        const std::string name = "bifs/" + entry.path().filename().string();
        if (entry.is_regular_file() && name != kMapFile && name != kPlayerFile)
            files.emplace_back(name, file_text(entry.path()));
    }
    std::sort(files.begin(), files.end());
    files.emplace_back("build.cnt", file_text(source / "build.cnt"));
    files.emplace_back(kMapFile, map_file_text(dungeon));
    files.emplace_back(kPlayerFile,
                       player_file_with_start(file_text(source / kPlayerFile), dungeon.start));
    return files;
}

bool passes_content_check(const fs::path& folder) {
    InFolder inside(folder);
    const bool clean = check_content().empty();
    reset_world();
    return clean;
}

}  // namespace

gen::Palette read_palette(const fs::path& source) {
    InFolder inside(source);
    reset_world();
    register_record_types();
    gen::Palette palette;
    if (!load_prototypes()) {
        read_monsters(palette);
        read_lamps(palette);
        read_keys(palette);
    }
    reset_world();
    return palette;
}

std::optional<gen::Dungeon> generate_data_folder(int32_t seed, const fs::path& source,
                                                 const fs::path& target, std::string& error,
                                                 bool* refused) {
    if (refused) *refused = false;
    if (std::optional<std::string> refusal = refusal_of_target(target)) {
        error = *refusal;
        if (refused) *refused = true;
        return std::nullopt;
    }
    const gen::Palette palette = read_palette(source);
    if (palette.monsters.empty() || palette.lamps.empty()) {
        error =
            source.string() + " offers the generator no monster or no lamp that stands on a map";
        return std::nullopt;
    }
    const fs::path scratch = target.string() + ".new-" + std::to_string(::getpid());
    std::error_code ignored;
    for (int32_t attempt = 0; attempt < gen::kMostAttempts; ++attempt) {
        std::optional<gen::Dungeon> dungeon = gen::first_kept_dungeon(seed, palette, attempt);
        if (!dungeon) break;
        attempt = dungeon->attempt;
        fs::remove_all(scratch, ignored);
        const FolderFiles files = folder_files(source, *dungeon);
        if (std::optional<std::string> failure = write_generated_folder(scratch, files)) {
            error = "cannot write the dungeon: " + *failure;
            fs::remove_all(scratch, ignored);
            return std::nullopt;
        }
        if (!passes_content_check(scratch)) continue;
        // The same seed gives the same dungeon: one already there is kept as it is.
        std::optional<std::string> refusal, failure;
        if (file_text(target / kMapFile) != file_text(scratch / kMapFile)) {
            refusal = refusal_to_replace(target);
            if (!refusal) failure = put_in_place(scratch, target);
        }
        fs::remove_all(scratch, ignored);
        if (refused) *refused = refusal.has_value();
        if (refusal || failure) {
            error = refusal ? *refusal : *failure;
            return std::nullopt;
        }
        return dungeon;
    }
    fs::remove_all(scratch, ignored);
    error = "no dungeon of seed " + std::to_string(seed) + " kept every promise in " +
            std::to_string(gen::kMostAttempts) + " attempts";
    return std::nullopt;
}

std::string generated_dungeon_line(int32_t seed) {
    return generated_line({gen::kGeneratorVersion, seed});
}

std::string generated_line(const GeneratedMark& mark) {
    return "generator " + std::to_string(mark.version) + ", seed " + std::to_string(mark.seed);
}

std::optional<GeneratedMark> read_generated_line(const std::string& line) {
    GeneratedMark mark;
    char rest = 0;
    if (std::sscanf(line.c_str(), "generator %d, seed %d%c", &mark.version, &mark.seed, &rest) != 2)
        return std::nullopt;
    return mark;
}

std::optional<GeneratedMark> generated_mark(const fs::path& folder) {
    std::ifstream in(folder / kMapFile, std::ios::binary);
    std::string line;
    // The mark stands right after the grid, within the first few hundred lines.
    for (int32_t count = 0; count < 300 && std::getline(in, line); ++count) {
        GeneratedMark mark;
        if (std::sscanf(line.c_str(), "/ Generated by grotmere-gen, version %d, from seed %d",
                        &mark.version, &mark.seed) == 2)
            return mark;
    }
    return std::nullopt;
}

// Each version of the generator keeps its dungeons apart, so the folders (and the kept games) of
// an older one stay as they were.
std::optional<fs::path> generated_dungeon_folder(int32_t seed) {
    const std::optional<std::string> home = user_data_folder();
    if (!home) return std::nullopt;
    const fs::path dungeons = fs::path(*home) / "dungeons";
    if (gen::kGeneratorVersion == 1) return dungeons / std::to_string(seed);
    return dungeons / ("v" + std::to_string(gen::kGeneratorVersion)) / std::to_string(seed);
}

// "generator 1, seed 42" when the game is played in a generated dungeon, else "".
std::string dungeon_here() {
    const std::optional<GeneratedMark> mark = generated_mark(std::filesystem::current_path());
    return mark ? generated_line(*mark) : "";
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

// A recording of a generated dungeon plays in that dungeon, made again from its seed; a dungeon
// of another version of the generator cannot be made again.
bool enter_recorded_dungeon(Backend& window, const std::string& path, const std::string& dungeon) {
    const std::optional<GeneratedMark> mark = read_generated_line(dungeon);
    std::string refusal;
    if (!mark) {
        refusal = path + " names a dungeon this game cannot read: " + dungeon;
    } else if (mark->version != gen::kGeneratorVersion) {
        refusal = path + " was made by generator version " + std::to_string(mark->version) +
                  "; this build makes version " + std::to_string(gen::kGeneratorVersion) +
                  ", whose dungeons differ, so it cannot be played back here; the recording is "
                  "kept as it is";
    }
    if (refusal.empty()) return enter_generated_dungeon(window, mark->seed);
    std::fprintf(stderr, "grotmere: %s\n", refusal.c_str());
    window.notify(refusal, "Grotmere");
    return false;
}

}  // namespace grotmere
