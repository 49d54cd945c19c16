// A plain-minded scripted player that plays a whole game through the real main loop on the
// headless backend, by key presses only: it arms up, clears each part of the dungeon the keys in
// hand reach, rests before the big fights, drinks a potion when nearly dead, pulls the lever past
// the guardian and walks out. It knows the map as its author does (where the lever and the exit
// are), not as the player sees it; with the window's aids it rests with one key and travels by
// clicks. One seed replays one game.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "gen/dungeon.hpp"
#include "platform/headless_backend.hpp"
#include "run/main_loop.hpp"

namespace grotmere {
class TTreasure;
}

namespace grotmere::route {

struct Goal {
    enum class Kind { Visit, Hunt, Rest, Use };
    Kind kind;
    int32_t x = 0;
    int32_t y = 0;
    std::set<int32_t> keys = {};   // the key_ids the player may use to get there
    std::string only = {};         // Hunt: only this kind
    std::string except = {};       // Hunt: every kind but this one
    bool weakest_first = false;    // Hunt: the nearest of the lowest level, not the nearest
    int32_t to_x = -1, to_y = -1;  // Visit of a stair: where it lands, which also reaches the goal
};

// The route through a generated dungeon, depth by depth: clear what the pack's keys reach, pull
// the depth's levers, clear what they opened, rest, take the stair down; on the last depth the
// guardian, the lever and the exit.
std::vector<Goal> generated_route(const gen::Dungeon& dungeon, const gen::Palette& palette);

class RoutePlayer {
public:
    // The game must be started on `backend` (start_game) before the first pass.
    RoutePlayer(HeadlessBackend& backend, bool aided);

    // One pass of the real main loop with this input.
    PassResult pass(PassInput input = {});
    // Puts on the first melee weapon, armour and light of the pack.
    void arm();
    // Plays the goals from `goal` on until the game ends, they run out or the pass limit is met.
    std::optional<GameEnd> play(const std::vector<Goal>& goals);

    size_t goal = 0;                        // the goal reached so far
    int32_t presses = 0;                    // keys pressed and clicks made
    int32_t potion_below = 4;               // drinks below 1/potion_below of its health
    std::string stuck;                      // why a Visit found no way, if it did
    std::function<void()> after_pass = {};  // e.g. a recorder's end of pass

private:
    std::optional<int32_t> key_for(const Goal& goal);
    std::optional<int32_t> hunt_key(const Goal& goal, bool under_fire);
    template <class Wanted>
    std::optional<std::pair<int32_t, int32_t>> first_step(const std::set<int32_t>& keys,
                                                          Wanted wanted);
    bool click_along_the_way(int32_t key);

    HeadlessBackend& backend_;
    bool aided_;
    std::vector<int32_t> path_;
    // The heaps tried are held, so that a new heap can never take the place of an old one in
    // memory and pass for it.
    std::set<std::shared_ptr<TTreasure>> looted_;
    int32_t rested_ = 0;
    int32_t last_hp_ = 0;
};

// How a generated dungeon's route game went.
struct RouteOutcome {
    std::optional<GameEnd> end;
    size_t goal = 0;
    size_t goals = 0;
    int32_t presses = 0;
    int32_t level = 0;
    int32_t depth = 0;  // where the game ended, 1 the first depth
};

// Plays the route of the generated dungeon in the working directory's data folder, started with
// `seed`, with or without the aids. Resets the world before and after.
RouteOutcome play_generated_route(const gen::Dungeon& dungeon, const gen::Palette& palette,
                                  int32_t seed, bool aided);

}  // namespace grotmere::route
