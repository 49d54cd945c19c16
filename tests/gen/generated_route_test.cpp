// The scripted route player, with the window's aids, escapes from most generated dungeons, down
// every depth: each is solvable by a plain-minded player, not only on paper. The balance harness
// measures the share over many seeds (grotmere-balance --generated N).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "files/daily.hpp"
#include "route/route_player.hpp"
#include "shell/generated_dungeon.hpp"

namespace grotmere {
namespace {

namespace fs = std::filesystem;

TEST(GeneratedRoute, TheRoutePlayerEscapesFromMostDungeons) {
    const fs::path root =
        fs::temp_directory_path() / ("grotmere_route_" + std::to_string(::getpid()));
    const fs::path back = fs::current_path();
    const gen::Palette palette = read_palette(GROTMERE_SOURCE_DIR);
    int32_t escaped = 0, played = 0;
    // Seeds 1 to 12, and a day's dungeon.
    std::vector<int32_t> seeds{daily_seed("2026-12-09")};
    for (int32_t seed = 1; seed <= 12; ++seed)
        seeds.push_back(seed);
    for (const int32_t seed : seeds) {
        std::string error;
        const auto dungeon = generate_data_folder(seed, GROTMERE_SOURCE_DIR, root / "d", error);
        ASSERT_TRUE(dungeon) << error;
        fs::current_path(root / "d");
        const route::RouteOutcome outcome =
            route::play_generated_route(*dungeon, palette, seed, true);
        fs::current_path(back);
        fs::remove_all(root / "d");
        ++played;
        escaped += outcome.end == GameEnd::Escaped;
        std::printf("seed %d: %s at goal %zu of %zu, depth %d of %zu, level %d, %d presses\n", seed,
                    outcome.end ? game_end_name(*outcome.end) : "stuck", outcome.goal,
                    outcome.goals, outcome.depth, dungeon->depths.size(), outcome.level,
                    outcome.presses);
    }
    fs::remove_all(root);
    EXPECT_GE(escaped * 4, played * 3);
}

}  // namespace
}  // namespace grotmere
