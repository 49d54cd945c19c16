// The map the game ships with, and what start-up does with a map it cannot use.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <set>
#include <tuple>

#include <unistd.h>

#include <nlohmann/json.hpp>

#include "actors/gegner.hpp"
#include "actors/player.hpp"
#include "actors/world_passes.hpp"
#include "run/startup.hpp"
#include "run/startup_definitions.hpp"
#include "tests/records/definition_test_support.hpp"
#include "tests/world/world_test_support.hpp"
#include "world/karte.hpp"
#include "world/map_file.hpp"
#include "world/schalter.hpp"

namespace grotmere {
namespace {

using ShippedMap = testing::WorldTest;

// Floor and corridor tiles reachable from (x, y) through tiles that are neither walls nor
// `blocked`.
std::set<std::pair<int32_t, int32_t>> reachable_from(int32_t x, int32_t y,
                                                     std::pair<int32_t, int32_t> blocked = {-1,
                                                                                            -1}) {
    std::vector<std::vector<bool>> seen(map_width, std::vector<bool>(map_height, false));
    std::deque<std::pair<int32_t, int32_t>> open{{x, y}};
    seen[x][y] = true;
    std::set<std::pair<int32_t, int32_t>> reached;
    while (!open.empty()) {
        auto [cx, cy] = open.front();
        open.pop_front();
        reached.insert({cx, cy});
        for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            const int32_t nx = cx + dx;
            const int32_t ny = cy + dy;
            if (!inside_map(nx, ny) || seen[nx][ny] || tile_grid.at(nx, ny)->ID == 1 ||
                std::pair{nx, ny} == blocked)
                continue;
            seen[nx][ny] = true;
            open.push_back({nx, ny});
        }
    }
    return reached;
}

// The pieces of one terrain: 4-connected groups of tiles with that ID.
int32_t groups_of(int32_t id) {
    std::vector<std::vector<bool>> seen(map_width, std::vector<bool>(map_height, false));
    int32_t groups = 0;
    for (int32_t x = 0; x < map_width; ++x) {
        for (int32_t y = 0; y < map_height; ++y) {
            if (seen[x][y] || tile_grid.at(x, y)->ID != id) continue;
            ++groups;
            std::deque<std::pair<int32_t, int32_t>> open{{x, y}};
            seen[x][y] = true;
            while (!open.empty()) {
                auto [cx, cy] = open.front();
                open.pop_front();
                for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                    const int32_t nx = cx + dx;
                    const int32_t ny = cy + dy;
                    if (!inside_map(nx, ny) || seen[nx][ny] || tile_grid.at(nx, ny)->ID != id)
                        continue;
                    seen[nx][ny] = true;
                    open.push_back({nx, ny});
                }
            }
        }
    }
    return groups;
}

TEST_F(ShippedMap, LoadsCleanlyWithRoomsCorridorsLightsAndMonsters) {
    testing::WorkingDirectory inside(GROTMERE_SOURCE_DIR);
    ASSERT_FALSE(load_prototypes());
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    ASSERT_FALSE(load_map_file(kMapFile));
    ASSERT_FALSE(load_bindings_and_player());
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(load_problems.empty());

    EXPECT_GE(map_width, 100) << "larger than the view, which scrolls";
    EXPECT_GE(map_height, 60);
    int32_t floor = 0, corridor = 0, lights = 0, burning_down = 0;
    std::set<std::tuple<int32_t, int32_t, int32_t>> colours;
    for (int32_t x = 0; x < map_width; ++x) {
        for (int32_t y = 0; y < map_height; ++y) {
            const TKartenTile& t = tile(x, y);
            floor += t.ID == 0;
            corridor += t.ID == 2;
            t.gegenstaende()->for_each_of<TLeuchte>([&](std::shared_ptr<TLeuchte>& light) {
                EXPECT_NE(t.ID, 1) << "a light stands in a wall at " << x << "," << y;
                ++lights;
                burning_down += light->brenndauer > 0;
                colours.insert({light->r, light->g, light->b});
            });
        }
    }
    // Rooms are the pieces of room floor (a doorway joins its room); corridors join them. With
    // everything reachable, more corridors than rooms less one means the route loops.
    const int32_t rooms = groups_of(0);
    const int32_t corridors = groups_of(2);
    EXPECT_GE(rooms, 15);
    EXPECT_GE(corridors, rooms) << "a loop";
    EXPECT_GE(lights, 15);
    EXPECT_GE(colours.size(), 4u) << "lamps of several colours";
    EXPECT_GE(burning_down, 10) << "lamps that burn down";

    std::set<std::string> kinds;
    std::set<int32_t> levels;
    int32_t shooters = 0;
    monsters->for_each_of<TGegner>([&](std::shared_ptr<TGegner>& monster) {
        if (kinds.insert(monster->name).second) shooters += monster->attack_range > 1;
        levels.insert(monster->level);
    });
    EXPECT_GE(kinds.size(), 7u);
    EXPECT_EQ(levels, (std::set<int32_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_GE(shooters, 2);
    EXPECT_NE(out.find("Es wurde ein "), std::string::npos);
    EXPECT_FALSE(map_records->empty()) << "the doors, switches and teleports stay there";

    ASSERT_TRUE(inside_map(player->x, player->y));
    EXPECT_EQ(tile(player->x, player->y).ID, 0) << "the player starts on room floor";
    EXPECT_EQ(reachable_from(player->x, player->y).size(), static_cast<size_t>(floor + corridor))
        << "every room and corridor can be reached from the start";

    std::pair<int32_t, int32_t> lever, guardian;
    map_records->for_each_of<TSchalter>([&](std::shared_ptr<TSchalter>& s) {
        if (s->ziel_name == "Black Gate") lever = {s->x, s->y};
    });
    monsters->for_each_of<TGegner>([&](std::shared_ptr<TGegner>& m) {
        if (m->level == 6) guardian = {m->x, m->y};
    });
    EXPECT_FALSE(reachable_from(player->x, player->y, guardian).count(lever))
        << "the guardian stands on the only way to the gate's lever";
}

TEST_F(ShippedMap, TheFirstFrameShowsThePlayerInALitRoom) {
    testing::WorkingDirectory inside(GROTMERE_SOURCE_DIR);
    ::testing::internal::CaptureStdout();
    ASSERT_FALSE(start_game(StartupOptions{1}));
    ::testing::internal::GetCapturedStdout();
    pass();
    const int32_t px = 1 + player->x * 10;  // the window starts at the map's corner
    const int32_t py = 1 + player->y * 10;
    EXPECT_TRUE(glyph_in(px, py, Rgb{0, 255, 0}));
    const TKartenTile& own = tile(player->x, player->y);
    EXPECT_EQ(own.sichtbar, 1);
    EXPECT_GT(own.lichtr, 0) << "a lamp lights the starting room";
}

class StartupMap : public testing::WorldTest {
protected:
    // The shipped definition files with a map of our own.
    void write_game(const std::string& map) {
        for (const std::string& file :
             {kItemFile, kMonsterFile, kBindingFile, kPlayerFile, std::string("bifs/waffen.bif")}) {
            std::ifstream in(std::string(GROTMERE_SOURCE_DIR) + "/" + file);
            dir.write(file, std::string(std::istreambuf_iterator<char>(in), {}));
        }
        if (!map.empty()) dir.write(kMapFile, map);
    }

    std::optional<StartupFailure> start() {
        testing::WorkingDirectory inside(dir.root());
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        auto failure = start_game(StartupOptions{1});
        ::testing::internal::GetCapturedStdout();
        ::testing::internal::GetCapturedStderr();
        return failure;
    }

    testing::ScratchDir dir;
};

TEST_F(StartupMap, AMissingMapStopsTheStartBeforeTheWindowOpens) {
    write_game("");
    auto failure = start();
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->status, 0);
    EXPECT_EQ(failure->message, "bifs/karte2.map: the file cannot be opened, so there is no map");
    EXPECT_FALSE(backend.window_open());
}

TEST_F(StartupMap, AMapSizeOutsideTheGridStopsTheStart) {
    write_game("300\n20\n");
    auto failure = start();
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->status, 0);
    EXPECT_EQ(failure->message, "bifs/karte2.map:1: the map width \"300\" lies outside 1 to 256");
}

// Every rule reads the tiles around the player, so a player placed off the map stops the start.
TEST_F(StartupMap, APlayerOutsideTheMapStopsTheStart) {
    for (const char* place : {"x = 900", "x = -5", "x = 2147483647", "x = -2147483648"}) {
        write_game("3\n3\n000\n000\n000\n");
        std::ifstream in(dir.path(kPlayerFile));
        std::string text(std::istreambuf_iterator<char>(in), {});
        text.replace(text.find("x = 9"), 5, place);
        dir.write(kPlayerFile, text);
        auto failure = start();
        ASSERT_TRUE(failure) << place;
        EXPECT_EQ(failure->status, 1);
        EXPECT_EQ(failure->message.find("bifs/player.bif places the player at ("), 0u)
            << failure->message;
        EXPECT_NE(failure->message.find("), outside the 3 x 3 map"), std::string::npos);
        EXPECT_FALSE(backend.window_open());
        reset_world();
    }
}

TEST(SimulatorDump, HoldsEveryTileTheMapRecordsAndTheMonsters) {
    namespace fs = std::filesystem;
    const fs::path dump =
        fs::temp_directory_path() / ("grotmere_tiles_" + std::to_string(::getpid()));
    const std::string command = std::string(GROTMERE_SIM) + " --dir " + GROTMERE_SOURCE_DIR +
                                " --check-contracts --passes 1 --dump " + dump.string() +
                                " >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::ifstream in(dump);
    const nlohmann::json state = nlohmann::json::parse(in);
    fs::remove(dump);
    const int32_t width = state["map_width"];
    const int32_t height = state["map_height"];
    ASSERT_EQ(state["tiles"].size(), static_cast<size_t>(width * height));
    EXPECT_EQ(state["tiles"][1]["x"], 0) << "column by column";
    EXPECT_EQ(state["tiles"][1]["y"], 1);
    EXPECT_EQ(state["tiles"][height]["x"], 1);
    EXPECT_EQ(state["tiles"][0]["type"], "TKartenTile");
    EXPECT_TRUE(state["tiles"][0].contains("gegenstaende"));
    EXPECT_TRUE(state["map_records"].is_array());
    ASSERT_FALSE(state["monsters"].empty());
    EXPECT_EQ(state["monsters"][0]["type"], "TGegner");
}

}  // namespace
}  // namespace grotmere
