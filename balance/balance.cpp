// grotmere-balance: plays every fight of the shipped dungeon many times and prints how often the
// player dies and how long a fight lasts, as a Markdown table.
//
//   grotmere-balance [--dir DIR] [--seeds N] [--only MONSTER]
//   grotmere-balance --generated N [--dir DIR] [--seeds N] [--jobs J] [--chart FILE.svg]
//
// --generated plays every fight of the generated dungeons of seeds 1 to N, made from the data in
// DIR, with 20 seeds a fight unless told otherwise, and prints for each band of fights the median
// and the 90th percentile over the dungeons of their worst fight, and how many of the dungeons
// the scripted route player (route/route_player.hpp) escapes from with the window's aids, how
// many it dies in before its level 2 and on which depth its games end. --jobs splits the seeds
// over J processes (the output is the same as with one); --chart draws the figures as a picture.
// --only plays only the fights with that monster, for tuning it.
// Each fight is the game itself: start-up on the data in DIR (default the current directory) with
// one seed, then every monster but the one of this fight is taken off the map, and the player
// stands beside it (or, for a shooter, three tiles away in a clear line) with the level the route
// has reached by then and the gear of the starting pack. The route meets the monsters in the order
// of their spawn records, so the player's level at a fight is the one that the experience of all
// the monsters before it gives. Then the main loop runs with keys chosen pass by pass: strike the
// monster, or walk up to it; shoot a shooter standing in good light with the bow while arrows
// last; drink a healing potion below a quarter of health when one is carried. The guardian (the
// last monster of the route) is fought twice: without potions and with those of the pack.
#include <unistd.h>

#include <fcntl.h>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "actors/gegner.hpp"
#include "actors/panzer.hpp"
#include "actors/player.hpp"
#include "actors/tastatur.hpp"
#include "actors/waffe.hpp"
#include "balance/balance_chart.hpp"
#include "balance/balance_jobs.hpp"
#include "base/command_line.hpp"
#include "base/safe_file.hpp"
#include "platform/drawing.hpp"
#include "platform/headless_backend.hpp"
#include "route/route_player.hpp"
#include "run/data_folder.hpp"
#include "run/main_loop.hpp"
#include "run/startup.hpp"
#include "shell/generated_dungeon.hpp"
#include "world/gegenstand.hpp"
#include "world/karte.hpp"
#include "world/karten_tile.hpp"
#include "world/leuchte.hpp"
#include "world/world_state.hpp"

namespace grotmere {
namespace {

constexpr int32_t kPassLimit = 3000;
constexpr int32_t kPackPotions = 2;
constexpr int32_t kPackArrows = 24;
// The bow is worth it only where the aim keeps at least this chance in percent.
constexpr int32_t kWorthShooting = 25;

// The game prints its diagnostic lines (monster creation) on standard output; the table must not
// drown in them.
class QuietOutput {
public:
    QuietOutput() {
        std::fflush(stdout);
        saved_ = ::dup(1);
        int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::close(null);
    }
    ~QuietOutput() {
        std::fflush(stdout);
        ::dup2(saved_, 1);
        ::close(saved_);
    }

private:
    int saved_;
};

struct Fight {
    std::string name;
    int32_t level = 0;         // the monster's
    int32_t player_level = 1;  // the route's at this fight
    bool shooter = false;
    int32_t index = 0;  // among the live monsters after start-up
};

struct Outcome {
    bool died = false;
    bool won = false;
    int32_t turns = 0;
};

int32_t level_for(int32_t xp) {
    int32_t level = 1;
    while (TPlayer::calc_level(level + 1) <= xp)
        ++level;
    return level;
}

bool start(int32_t seed, HeadlessBackend& backend) {
    reset_world();
    set_backend(&backend);
    // The harness looks at no picture.
    set_pixels_wanted(false);
    QuietOutput quiet;
    return !start_game(StartupOptions{seed});
}

// The fights in route order, read from a start-up of the data.
std::vector<Fight> route() {
    HeadlessBackend backend;
    std::vector<Fight> fights;
    if (!start(1, backend)) return fights;
    int32_t xp = 0;
    int32_t index = 0;
    for (const RecordRef& record : monsters->records()) {
        const auto& monster = static_cast<const TGegner&>(*record);
        fights.push_back(
            {monster.name, monster.level, level_for(xp), monster.attack_range > 1, index++});
        xp += monster.xp;
    }
    set_backend(nullptr);
    return fights;
}

bool walkable(int32_t x, int32_t y) {
    const TKartenTile* tile = map_tile(x, y);
    return tile != nullptr && tile->ID != TKarte::MAP_SOLID && tile->begehbar == 1;
}

// A tile at `distance` from the monster along a clear straight line, or the monster's own.
std::pair<int32_t, int32_t> stand_for(const TGegner& monster, int32_t distance) {
    const int32_t steps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (int32_t d = distance; d >= 1; --d) {
        for (const auto& step : steps) {
            bool clear = true;
            for (int32_t k = 1; k <= d && clear; ++k)
                clear = walkable(monster.x + step[0] * k, monster.y + step[1] * k);
            if (clear) return {monster.x + step[0] * d, monster.y + step[1] * d};
        }
    }
    return {monster.x, monster.y};
}

template <class T>
std::shared_ptr<T> item(const std::string& name, int32_t count = 1) {
    auto made = std::dynamic_pointer_cast<T>(TGegenstand::create_from_proto(name));
    if (made) made->anzahl = count;
    return made;
}

int32_t slot_key(int32_t slot) {
    const int32_t keys[10] = {bindings->inv_1, bindings->inv_2, bindings->inv_3, bindings->inv_4,
                              bindings->inv_5, bindings->inv_6, bindings->inv_7, bindings->inv_8,
                              bindings->inv_9, bindings->inv_10};
    return keys[slot - 1];
}

// The slot (1 to 10) of the first item of that name, or 0.
int32_t slot_of(const std::string& name) {
    for (int32_t i = 0; i < kInventorySlots; ++i) {
        if ((*player->inventory)[i] && (*player->inventory)[i]->name == name) return i + 1;
    }
    return 0;
}

int32_t light_on(int32_t x, int32_t y) {
    const TKartenTile* tile = map_tile(x, y);
    return tile != nullptr ? tile->lichtstaerke : 0;
}

// The route's gear: the starting pack's sword, jerkin and torch, potions if asked; the bow ready
// for a shooter that stands in light good enough for arrows.
void equip(bool potions, bool bow) {
    player->inventory->fill(nullptr);
    player->waffe = item<TWaffe>(bow ? "Short Bow" : "Short Sword");
    player->panzer = item<TPanzer>("Leather Jerkin");
    player->leuchte = item<TLeuchte>("Torch");
    if (player->leuchte) player->leuchte->toggle(1);
    if (bow) {
        player->add_to_inventory(item<TWaffe>("Short Sword"), 0);
        player->add_to_inventory(item<TGegenstand>("Arrow", kPackArrows), 0);
        player->attackmode = 1;
    }
    if (potions) player->add_to_inventory(item<TGegenstand>("Healing Potion", kPackPotions), 0);
}

int32_t direction_key(int32_t dx, int32_t dy) {
    if (dx < 0) return bindings->go_left;
    if (dx > 0) return bindings->go_right;
    return dy < 0 ? bindings->go_up : bindings->go_down;
}

// The key of this pass.
int32_t choose_key(const TGegner& monster) {
    const int32_t potion = slot_of("Healing Potion");
    if (potion != 0 && player->actual("hp") < player->actual("hpmax") / 4) return slot_key(potion);
    const int32_t dx = monster.x - player->x;
    const int32_t dy = monster.y - player->y;
    const bool in_line = dx == 0 || dy == 0;
    const bool adjacent = std::abs(dx) + std::abs(dy) == 1;
    if (player->waffe && player->waffe->reichweite > 0) {
        if (in_line && !adjacent && slot_of("Arrow") != 0) return direction_key(dx, dy);
        const int32_t sword = slot_of("Short Sword");
        return sword != 0 ? slot_key(sword) : bindings->wait;
    }
    if (adjacent) return direction_key(dx, dy);
    // Walk up, the longer way first, around what blocks it.
    if (dx != 0 && (std::abs(dx) >= std::abs(dy) || dy == 0) &&
        walkable(player->x + (dx > 0 ? 1 : -1), player->y))
        return direction_key(dx, 0);
    if (dy != 0) return direction_key(0, dy);
    return direction_key(dx, 0);
}

Outcome play(const Fight& fight, int32_t seed, bool potions) {
    HeadlessBackend backend;
    Outcome outcome;
    if (!start(seed, backend)) return outcome;
    std::vector<RecordRef> all = monsters->records();
    auto target = std::static_pointer_cast<TGegner>(all[fight.index]);
    for (const RecordRef& other : all) {
        if (other != target) monsters->remove(other);
    }
    const int32_t aim = player->attack - (100 - light_on(target->x, target->y));
    const bool bow = fight.shooter && aim >= kWorthShooting;
    const auto [x, y] = stand_for(*target, fight.shooter ? 3 : 1);
    player->x = x;
    player->y = y;
    equip(potions, bow);
    player->xp = TPlayer::calc_level(fight.player_level);
    {
        QuietOutput quiet;
        for (int32_t i = 0; i < 20 && player->level < fight.player_level; ++i) {
            backend.queue_pass({});
            run_pass();
        }
        for (int32_t pass = 0; pass < kPassLimit; ++pass) {
            if (!monsters->contains(target.get())) {
                outcome.won = true;
                break;
            }
            backend.queue_pass({InputEvent{InputEvent::Kind::Hit, choose_key(*target)}});
            PassResult result = run_pass();
            if (result.turn_taken) ++outcome.turns;
            if (result.end) {
                outcome.died = *result.end == GameEnd::Death;
                break;
            }
        }
    }
    set_backend(nullptr);
    return outcome;
}

struct Row {
    const Fight* fight;
    bool potions;
    int32_t deaths = 0;
    int32_t won = 0;
    int64_t turns = 0;
};

std::string gear(const Row& row) {
    std::string text = "Short Sword, Leather Jerkin";
    if (row.fight->shooter) text += " (Short Bow and arrows in good light)";
    if (row.potions) text += ", " + std::to_string(kPackPotions) + " Healing Potions";
    return text;
}

int run(int32_t seeds, const std::string& only) {
    std::vector<Fight> fights = route();
    if (fights.empty()) {
        std::fprintf(stderr, "grotmere-balance: the data did not start or holds no monster\n");
        return 1;
    }
    std::vector<Row> rows;
    for (const Fight& fight : fights)
        rows.push_back({&fight, false});
    rows.push_back({&fights.back(), true});
    if (!only.empty()) {
        std::erase_if(rows, [&](const Row& row) { return row.fight->name != only; });
        if (rows.empty()) {
            std::fprintf(stderr, "grotmere-balance: --only %s: no monster of that name is met\n",
                         only.c_str());
            return 2;
        }
    }
    for (Row& row : rows) {
        for (int32_t seed = 1; seed <= seeds; ++seed) {
            // Each fight its own seeds, so fights of one kind are not the same dice over again.
            Outcome outcome = play(*row.fight, row.fight->index * 10007 + seed, row.potions);
            row.deaths += outcome.died;
            row.won += outcome.won;
            row.turns += outcome.turns;
        }
    }
    std::printf(
        "| # | Monster | Level | Player level | Gear | Deaths per 100 | Turns per fight |\n");
    std::printf("|---|---|---|---|---|---|---|\n");
    for (const Row& row : rows) {
        const double per_100 = 100.0 * row.deaths / seeds;
        const double turns = static_cast<double>(row.turns) / seeds;
        std::printf("| %d | %s | %d | %d | %s | %.1f | %.1f |\n", row.fight->index + 1,
                    row.fight->name.c_str(), row.fight->level, row.fight->player_level,
                    gear(row).c_str(), per_100, turns);
        if (row.deaths + row.won != seeds) {
            std::fprintf(stderr, "grotmere-balance: %s: %d fights reached no end\n",
                         row.fight->name.c_str(), seeds - row.deaths - row.won);
        }
    }
    return 0;
}

// --- Generated dungeons: every fight of each, alike fights (one kind at one player level)
// measured once; per dungeon the worst fight of each band counts.

struct Bands {
    double first = 0;   // monsters of level 1 and 2
    double middle = 0;  // the others before the guardian
    double guardian = 0;
    double guardian_with_potions = 0;
};

double deaths_per_100(const Fight& fight, int32_t seeds, bool potions) {
    int32_t deaths = 0;
    for (int32_t seed = 1; seed <= seeds; ++seed)
        deaths += play(fight, fight.index * 10007 + seed, potions).died;
    return 100.0 * deaths / seeds;
}

Bands measure_dungeon(int32_t seeds) {
    Bands bands;
    const std::vector<Fight> fights = route();
    if (fights.empty()) return bands;
    std::map<std::pair<std::string, int32_t>, double> measured;
    for (size_t k = 0; k + 1 < fights.size(); ++k) {
        const Fight& fight = fights[k];
        const auto alike = std::make_pair(fight.name, fight.player_level);
        if (!measured.count(alike)) measured[alike] = deaths_per_100(fight, seeds, false);
        double& band = fight.level <= 2 ? bands.first : bands.middle;
        band = std::max(band, measured[alike]);
    }
    bands.guardian = deaths_per_100(fights.back(), seeds, false);
    bands.guardian_with_potions = deaths_per_100(fights.back(), seeds, true);
    return bands;
}

double percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    const size_t at = std::min(values.size() - 1, static_cast<size_t>(share * values.size()));
    return values[at];
}

// One dungeon's figures as a line: its bands, whether the route player escaped, whether it died
// before its level 2, the depth its game ended on and the dungeon's depths; empty when the seed
// gave no dungeon.
std::string measure_seed(int32_t seed, int32_t seeds, const gen::Palette& palette,
                         const std::filesystem::path& source,
                         const std::filesystem::path& scratch) {
    namespace fs = std::filesystem;
    std::string error;
    const fs::path folder = scratch / std::to_string(seed);
    const std::optional<gen::Dungeon> dungeon = generate_data_folder(seed, source, folder, error);
    if (!dungeon) {
        std::fprintf(stderr, "grotmere-balance: seed %d: %s\n", seed, error.c_str());
        return "";
    }
    fs::current_path(folder);
    const Bands bands = measure_dungeon(seeds);
    route::RouteOutcome game;
    {
        QuietOutput quiet;
        game = route::play_generated_route(*dungeon, palette, seed, true);
    }
    fs::current_path(source);
    fs::remove_all(folder);
    char line[200];
    std::snprintf(line, sizeof line, "%.17g %.17g %.17g %.17g %d %d %d %zu", bands.first,
                  bands.middle, bands.guardian, bands.guardian_with_potions,
                  game.end == GameEnd::Escaped, game.end == GameEnd::Death && game.level < 2,
                  game.depth, dungeon->depths.size());
    return line;
}

struct Measured {
    Bands bands;
    int32_t escaped = 0, early_death = 0, depth = 0;
    size_t depths = 0;
};

int run_generated(int32_t dungeons, int32_t seeds, int32_t jobs, const std::string& chart_file) {
    namespace fs = std::filesystem;
    const fs::path source = fs::current_path();
    const gen::Palette palette = read_palette(source);
    const fs::path scratch =
        fs::temp_directory_path() / ("grotmere_balance_" + std::to_string(::getpid()));
    const std::vector<std::string> lines = lines_of_seeds(
        dungeons, jobs,
        [&](int32_t seed) { return measure_seed(seed, seeds, palette, source, scratch); }, scratch);
    fs::remove_all(scratch);
    std::vector<Measured> all;
    for (const std::string& line : lines) {
        Measured m;
        if (std::sscanf(line.c_str(), "%lf %lf %lf %lf %d %d %d %zu", &m.bands.first,
                        &m.bands.middle, &m.bands.guardian, &m.bands.guardian_with_potions,
                        &m.escaped, &m.early_death, &m.depth, &m.depths) == 8)
            all.push_back(m);
    }
    if (all.empty()) return 1;
    int32_t escaped = 0, early = 0, met = 0;
    BalanceChart chart;
    chart.games = int32_t(all.size());
    for (const Measured& m : all) {
        escaped += m.escaped;
        early += m.early_death;
        met += m.bands.first <= 5 && m.bands.middle <= 20;
        if (chart.offered.size() < m.depths) {
            chart.offered.resize(m.depths);
            chart.reached.resize(m.depths);
            chart.ended.resize(m.depths);
        }
        for (size_t k = 0; k < m.depths; ++k)
            ++chart.offered[k];
        for (int32_t k = 0; k < m.depth && k < int32_t(m.depths); ++k)
            ++chart.reached[size_t(k)];
        if (!m.escaped && m.depth >= 1) ++chart.ended[size_t(m.depth - 1)];
    }
    chart.escaped = escaped;
    auto column = [&](double Bands::*band) {
        std::vector<double> values;
        for (const Measured& m : all)
            values.push_back(m.bands.*band);
        return values;
    };
    std::printf(
        "%zu generated dungeons, %d seeds per fight; per dungeon its worst fight of a band\n\n",
        all.size(), seeds);
    std::printf("| Band | Median deaths per 100 | 90th percentile | Target |\n|---|---|---|---|\n");
    const std::pair<const char*, double Bands::*> rows[] = {
        {"First fights (levels 1-2)", &Bands::first},
        {"Middle fights", &Bands::middle},
        {"Guardian", &Bands::guardian},
        {"Guardian with the pack's potions", &Bands::guardian_with_potions}};
    const char* targets[] = {"at most 5", "at most 20", "", ""};
    const double target_values[] = {5, 20, -1, -1};
    for (size_t k = 0; k < 4; ++k) {
        const std::vector<double> values = column(rows[k].second);
        std::printf("| %s | %.1f | %.1f | %s |\n", rows[k].first, percentile(values, 0.5),
                    percentile(values, 0.9), targets[k]);
        chart.bands.push_back({rows[k].first, values, target_values[k]});
    }
    std::printf("\nBoth targets met in %d of %zu dungeons (%.1f%%).\n", met, all.size(),
                100.0 * met / all.size());
    std::printf("The route player, with the aids, escaped from %d of %zu dungeons (%.1f%%).\n",
                escaped, all.size(), 100.0 * escaped / all.size());
    std::printf("It died before its level 2 in %d of them (%.1f%%).\n", early,
                100.0 * early / all.size());
    std::printf(
        "\n| Depth | Dungeons this deep | Games that reached it | Ended there "
        "|\n|---|---|---|---|\n");
    for (size_t k = 0; k < chart.reached.size(); ++k)
        std::printf("| %zu | %d | %d | %d |\n", k + 1, chart.offered[k], chart.reached[k],
                    chart.ended[k]);
    if (!chart_file.empty()) {
        WrittenFile out = create_replacement(chart_file);
        if (!out.append(balance_chart_svg(chart)) || !out.finish()) {
            std::fprintf(stderr, "grotmere-balance: %s\n", out.failure().c_str());
            return 1;
        }
    }
    return 0;
}

}  // namespace
}  // namespace grotmere

namespace {

// A count the command line gives: a whole number from 1 up.
std::optional<int32_t> parse_count(const std::string& text) {
    const std::optional<int64_t> value = grotmere::parse_whole_number(text);
    if (!value || *value < 1 || *value > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(*value);
}

const grotmere::ProgramOptions& balance_command_line() {
    static const grotmere::ProgramOptions declared{
        "grotmere-balance",
        "grotmere-balance [--dir DIR] [--seeds N] [--only MONSTER]\n"
        "grotmere-balance --generated N [--dir DIR] [--seeds N] [--jobs J] [--chart FILE]",
        "Plays every fight of a dungeon from many seeds and prints the deaths as a table.",
        {
            {"dir", "DIR", "the data folder (default: the game's)"},
            {"seeds", "N", "play each fight N times (default: 200, with --generated 20)"},
            {"only", "MONSTER", "play only the fights with that monster"},
            {"generated", "N",
             "play the generated dungeons of seeds 1 to N instead, and the\n"
             "route player through each"},
            {"jobs", "J",
             "with --generated: split the seeds over J processes (the output is\n"
             "the same)"},
            {"chart", "FILE", "with --generated: draw the figures as an SVG picture"},
        },
        "Exit status: 0 played, 1 failed, 2 a usage error."};
    return declared;
}

int usage(const std::string& problem) {
    return *grotmere::answer_before_running(balance_command_line(),
                                            grotmere::CommandLine::Action::Run, problem);
}

}  // namespace

int main(int argc, char** argv) try {
    const grotmere::CommandLine line = grotmere::parse_command_line(
        balance_command_line(), std::vector<std::string>(argv + 1, argv + argc));
    if (auto done =
            grotmere::answer_before_running(balance_command_line(), line.action, line.error))
        return *done;
    int32_t seeds = 200;
    int32_t generated = 0, jobs = 1;
    std::string only, chart;
    std::optional<std::string> dir;
    bool seeds_named = false;
    for (const grotmere::GivenOption& given : line.options) {
        if (given.name == "generated" || given.name == "seeds" || given.name == "jobs") {
            const std::optional<int32_t> count = parse_count(given.value);
            if (!count) return usage("--" + given.name + " takes a whole number from 1 up");
            (given.name == "generated" ? generated : given.name == "jobs" ? jobs : seeds) = *count;
            seeds_named = seeds_named || given.name == "seeds";
        }
        if (given.name == "only") only = given.value;
        if (given.name == "dir") dir = given.value;
        if (given.name == "chart") chart = std::filesystem::absolute(given.value).string();
    }
    const grotmere::DataFolderSearch search =
        grotmere::find_data_folder(dir, grotmere::data_folder_places());
    if (!search.found) {
        std::fprintf(stderr, "grotmere-balance: %s\n", search.problem.c_str());
        return 2;
    }
    std::filesystem::current_path(*search.found);
    if (generated > 0)
        return grotmere::run_generated(generated, seeds_named ? seeds : 20, jobs, chart);
    return grotmere::run(seeds, only);
} catch (const std::filesystem::filesystem_error& error) {
    std::fprintf(stderr, "grotmere-balance: %s\n", grotmere::file_system_failure(error).c_str());
    return 1;
}
