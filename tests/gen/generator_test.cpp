#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>

#include "base/random.hpp"
#include "check/content_check.hpp"
#include "gen/depth_plan.hpp"
#include "gen/dungeon_check.hpp"
#include "shell/generated_dungeon.hpp"

namespace grotmere {
namespace {

namespace fs = std::filesystem;

const gen::Palette& shipped_palette() {
    static const gen::Palette palette = read_palette(GROTMERE_SOURCE_DIR);
    return palette;
}

std::optional<gen::Dungeon> first_good(int32_t seed) {
    return gen::first_kept_dungeon(seed, shipped_palette());
}

std::string file_text(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every seed gives a dungeon that keeps the promises within a few attempts.
TEST(Generator, EverySeedKeepsThePromises) {
    for (int32_t seed = 1; seed <= 300; ++seed) {
        const auto dungeon = first_good(seed);
        ASSERT_TRUE(dungeon) << "seed " << seed;
        EXPECT_LE(dungeon->attempt, 8) << "seed " << seed;
        EXPECT_GT(dungeon->spawns.size(), 5u) << "seed " << seed;
    }
}

// Generation rolls its own dice: the game's generator is neither moved nor reset by it, not even
// by a palette that cannot make a dungeon and throws half-way.
TEST(Generator, LeavesTheGamesRandomGeneratorAlone) {
    const gen::Palette& palette = shipped_palette();  // read first: reading resets the world
    seed_random(77);
    const int32_t before = random_state();
    ASSERT_TRUE(gen::first_kept_dungeon(5, palette));
    EXPECT_EQ(random_state(), before);
    gen::Palette no_monsters = palette;
    no_monsters.monsters.clear();
    EXPECT_THROW(gen::lay_out_dungeon(5, 0, no_monsters), std::invalid_argument);
    EXPECT_EQ(random_state(), before);
}

// A change to what a seed gives shows here as a difference, to be taken on purpose, with the
// generator's version raised: the files are the maps of these seeds as grotmere-gen writes them.
TEST(Generator, TheGoldenDungeonsAreTheOnesOfTheirSeeds) {
    for (int32_t seed : {7, 2024, 31337}) {
        const std::string name = "/tests/gen/seed-" + std::to_string(seed) + ".map";
        EXPECT_EQ(gen::map_file_text(*first_good(seed)), file_text(GROTMERE_SOURCE_DIR + name))
            << "regenerate with: build/grotmere-gen --seed " << seed
            << " --out DIR and copy DIR/bifs/karte2.map to tests/gen";
    }
}

// The game can tell a tile's depth from the map file's text alone, as the generator knew it.
TEST(Generator, TheMapFileNamesEveryTilesDepth) {
    const gen::Dungeon dungeon = *first_good(2024);
    const gen::DepthPlan plan = gen::read_depth_plan(gen::map_file_text(dungeon));
    ASSERT_EQ(plan.count(), dungeon.depths.size());
    for (int32_t y = 0; y < dungeon.height; ++y)
        for (int32_t x = 0; x < dungeon.width; ++x)
            ASSERT_EQ(plan.depth_of(x, y), dungeon.depth_of({x, y}) + 1) << x << "," << y;
    EXPECT_EQ(gen::read_depth_plan(file_text(GROTMERE_SOURCE_DIR "/bifs/karte2.map")).count(), 0u);
}

// A written dungeon passes the game's own content check, and its folder is complete: the same
// seed again keeps it, and a folder that holds something else is never replaced.
TEST(Generator, WrittenDungeonsPassTheContentCheck) {
    const fs::path root =
        fs::temp_directory_path() / ("grotmere_gen_" + std::to_string(::getpid()));
    std::string error;
    for (int32_t seed : {3, 4, 5}) {
        const fs::path folder = root / std::to_string(seed);
        ASSERT_TRUE(generate_data_folder(seed, GROTMERE_SOURCE_DIR, folder, error)) << error;
        const fs::path back = fs::current_path();
        fs::current_path(folder);
        const LoadProblems problems = check_content();
        fs::current_path(back);
        EXPECT_TRUE(problems.empty()) << "seed " << seed << ": " << check_line(problems.front());
    }
    fs::remove_all(root);
}

// Every file under a folder with its text, links and other kinds by what they are.
std::map<std::string, std::string> tree_of(const fs::path& folder) {
    std::map<std::string, std::string> tree;
    std::error_code error;
    const fs::file_status top = fs::symlink_status(folder, error);
    if (!fs::is_directory(top)) return {{".", std::to_string(int(top.type()))}};
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        tree[entry.path().lexically_relative(folder).string()] =
            entry.is_symlink() || !entry.is_regular_file()
                ? "kind " + std::to_string(int(entry.symlink_status().type()))
                : file_text(entry.path());
    return tree;
}

// The generator replaces only a folder that holds nothing but what it wrote there, as written;
// anything else in the way is refused and left exactly as it was.
TEST(Generator, OnlyAFolderOfItsOwnIsReplaced) {
    const fs::path root =
        fs::temp_directory_path() / ("grotmere_gen_places_" + std::to_string(::getpid()));
    fs::create_directories(root);
    std::string error;
    bool refused = false;
    auto generate = [&](int32_t seed, const fs::path& target) {
        return generate_data_folder(seed, GROTMERE_SOURCE_DIR, target, error, &refused).has_value();
    };
    ASSERT_TRUE(generate(3, root / "ours")) << error;
    EXPECT_TRUE(generate(3, root / "ours")) << "the same dungeon again is kept";
    ASSERT_TRUE(generate(4, root / "ours")) << error;
    EXPECT_NE(file_text(root / "ours/bifs/karte2.map").find("from seed 4"), std::string::npos);

    const struct {
        std::string name;
        std::function<void(const fs::path&)> make;
    } refusals[] = {
        {"a file of the player's among ours",
         [&](const fs::path& p) {
             generate(3, p);
             std::ofstream(p / "bifs/mine.bif") << "keep me";
         }},
        {"a file of ours changed",
         [&](const fs::path& p) {
             generate(3, p);
             std::ofstream(p / "bifs/player.bif", std::ios::app) << "/ my change";
         }},
        {"a folder without the generator's list",
         [&](const fs::path& p) {
             fs::create_directories(p);
             std::ofstream(p / "notes.txt") << "keep me";
         }},
        {"a file", [&](const fs::path& p) { std::ofstream(p) << "keep me"; }},
        {"a link to a folder",
         [&](const fs::path& p) { fs::create_directory_symlink(root / "ours", p); }},
        {"a FIFO", [&](const fs::path& p) { ::mkfifo(p.c_str(), 0600); }},
    };
    for (const auto& refusal : refusals) {
        const fs::path place = root / ("in-the-way-" + std::to_string(&refusal - refusals));
        refusal.make(place);
        const auto before = tree_of(place);
        EXPECT_FALSE(generate(5, place)) << refusal.name;
        EXPECT_TRUE(refused) << refusal.name << ": " << error;
        EXPECT_EQ(tree_of(place), before) << refusal.name;
    }
    const fs::path back = fs::current_path();
    fs::create_directories(root / "here/deeper");
    fs::current_path(root / "here/deeper");
    for (const fs::path& holding_us : {fs::path("."), root / "here", fs::path()}) {
        EXPECT_FALSE(generate(5, holding_us)) << holding_us;
        EXPECT_TRUE(refused) << holding_us;
    }
    fs::current_path(back);
    EXPECT_TRUE(fs::is_empty(root / "here/deeper"));
    fs::remove_all(root);
}

}  // namespace
}  // namespace grotmere
