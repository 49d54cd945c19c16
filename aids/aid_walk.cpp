#include "aids/aid_walk.hpp"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <vector>

#include "actors/buff.hpp"
#include "actors/gegner.hpp"
#include "actors/player.hpp"
#include "actors/tastatur.hpp"
#include "actors/treasure.hpp"
#include "platform/keyboard.hpp"
#include "platform/platform.hpp"
#include "view/player_knowledge.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

const char* const kWaitLine = "You wait a little...";
const char* const kHealLine = "You regain some constitution.";
const char* const kMoveLine = "You move.";

// What the world looked like when the last key was handed over.
struct Snapshot {
    std::vector<const TGegner*> shown;
    int32_t hp = 0;
    uint64_t log_version = 0;
    int32_t effects = 0;
    int32_t x = 0;
    int32_t y = 0;
};

struct Openings {
    bool left = false;
    bool right = false;
    friend bool operator==(const Openings&, const Openings&) = default;
};

struct WalkState {
    WalkKind kind = WalkKind::None;
    int32_t dx = 0, dy = 0;              // run
    int32_t target_x = 0, target_y = 0;  // travel
    Openings openings;                   // run: beside the last cell
    std::vector<bool> stood_on;          // explore: cells whose unseen neighbours were looked for
    bool handed = false;                 // a key was handed over in the last pass
    Snapshot before;
    std::string said;
    uint64_t said_version = 0;
};

WalkState& state() {
    static WalkState walk;
    return walk;
}

void say(const std::string& text) {
    state().said = text;
    ++state().said_version;
}

int32_t lasting_effects() {
    int32_t count = 0;
    player->buffs->look_at_each<TBuff>([&](const TBuff& buff) { count += buff.silent == 0; });
    return count;
}

Snapshot snapshot() {
    return Snapshot{monsters_shown(),  player->hp, message_history.version(),
                    lasting_effects(), player->x,  player->y};
}

// The lines logged since the snapshot, newest first; a line logged again counts again.
std::vector<std::string> new_lines(uint64_t since) {
    std::vector<std::string> lines;
    uint64_t left = message_history.version() - since;
    for (size_t i = message_history.size(); i > 0 && left > 0; --i) {
        const MessageHistory::Entry& entry = message_history.at(i - 1);
        const uint64_t times = std::min<uint64_t>(left, static_cast<uint64_t>(entry.count));
        lines.emplace_back(entry.text);
        left -= times;
    }
    return lines;
}

bool expected_line(const std::string& line) {
    if (state().kind == WalkKind::Rest) return line == kWaitLine || line == kHealLine;
    return line == kMoveLine;
}

std::string newcomer(const std::vector<const TGegner*>& before) {
    for (const TGegner* monster : monsters_shown()) {
        if (std::find(before.begin(), before.end(), monster) == before.end())
            return "A " + monster->name + " comes into view.";
    }
    return "";
}

// Why the walk must stop after the key the last pass handed over, or "" to go on.
std::string something_happened() {
    const Snapshot& before = state().before;
    if (std::string seen = newcomer(before.shown); !seen.empty()) return seen;
    if (player->hp < before.hp) return "You are hurt.";
    for (const std::string& line : new_lines(before.log_version)) {
        if (!expected_line(line)) return "Stopped: " + line;
    }
    if (lasting_effects() < before.effects) return "An effect has run out.";
    const bool stepping = state().kind != WalkKind::Rest;
    if (stepping && player->x == before.x && player->y == before.y) return "The way is blocked.";
    return "";
}

int32_t key_for_step(int32_t dx, int32_t dy) {
    const TTastatur& keys = *bindings;
    if (dx < 0) return keys.go_left;
    if (dx > 0) return keys.go_right;
    if (dy < 0) return keys.go_up;
    return dy > 0 ? keys.go_down : 0;
}

Openings openings_beside(int32_t x, int32_t y) {
    const int32_t dx = state().dx;
    const int32_t dy = state().dy;
    return Openings{known_floor(x + dy, y + dx), known_floor(x - dy, y - dx)};
}

bool heap_or_door_near(int32_t x, int32_t y) {
    bool near = false;
    treasures->look_at_each<TTreasure>([&](const TTreasure& heap) {
        near |= std::llabs(int64_t{heap.x} - x) <= 1 && std::llabs(int64_t{heap.y} - y) <= 1;
    });
    for (int32_t ox = -1; ox <= 1; ++ox) {
        for (int32_t oy = -1; oy <= 1; ++oy)
            near |= known_door(x + ox, y + oy) != nullptr;
    }
    return near || known_teleport(x, y) != nullptr || known_switch(x, y) != nullptr;
}

// A run stops beside anything worth a look and where the way forks or opens.
int32_t run_key() {
    WalkState& walk = state();
    const int32_t x = player->x;
    const int32_t y = player->y;
    if (walk.handed) {
        const Openings now = openings_beside(x, y);
        if (heap_or_door_near(x, y) || now != walk.openings) return 0;
    }
    if (!known_floor(x + walk.dx, y + walk.dy) || monster_shown_at(x + walk.dx, y + walk.dy))
        return 0;
    return key_for_step(walk.dx, walk.dy);
}

size_t cell_index(int32_t x, int32_t y) {
    return static_cast<size_t>(y) * static_cast<size_t>(map_width) + static_cast<size_t>(x);
}

bool has_unknown_neighbour(int32_t x, int32_t y) {
    for (int32_t ox = -1; ox <= 1; ++ox) {
        for (int32_t oy = -1; oy <= 1; ++oy) {
            if (inside_map(x + ox, y + oy) && !cell_known(x + ox, y + oy)) return true;
        }
    }
    return false;
}

// A breadth-first walk over known floor from the player; `goal` picks the cell to reach. Gives
// the first step toward the nearest goal.
template <class Goal>
bool first_step_to(Goal&& goal, int32_t& step_x, int32_t& step_y) {
    if (!inside_map(player->x, player->y)) return false;
    std::vector<int32_t> came_from(static_cast<size_t>(map_width) * map_height, -1);
    std::deque<std::pair<int32_t, int32_t>> queue{{player->x, player->y}};
    const size_t start = cell_index(player->x, player->y);
    came_from[start] = static_cast<int32_t>(start);
    constexpr int32_t kSteps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    while (!queue.empty()) {
        const auto [x, y] = queue.front();
        queue.pop_front();
        if (goal(x, y)) {
            size_t at = cell_index(x, y);
            if (at == start) return false;
            while (static_cast<size_t>(came_from[at]) != start)
                at = static_cast<size_t>(came_from[at]);
            step_x = static_cast<int32_t>(at % static_cast<size_t>(map_width)) - player->x;
            step_y = static_cast<int32_t>(at / static_cast<size_t>(map_width)) - player->y;
            return true;
        }
        for (const auto& step : kSteps) {
            const int32_t nx = x + step[0];
            const int32_t ny = y + step[1];
            if (!inside_map(nx, ny) || came_from[cell_index(nx, ny)] >= 0) continue;
            // The goal itself may be a door to open or a teleport to take; every other cell must
            // be known floor, and a walk never takes a teleport the player did not choose.
            if (!goal(nx, ny) &&
                (!known_floor(nx, ny) || monster_shown_at(nx, ny) || known_teleport(nx, ny)))
                continue;
            came_from[cell_index(nx, ny)] = static_cast<int32_t>(cell_index(x, y));
            queue.emplace_back(nx, ny);
        }
    }
    return false;
}

int32_t explore_key() {
    WalkState& walk = state();
    const size_t cells = static_cast<size_t>(map_width) * map_height;
    if (walk.stood_on.size() != cells) walk.stood_on.assign(cells, false);
    walk.stood_on[cell_index(player->x, player->y)] = true;
    int32_t dx = 0, dy = 0;
    const bool found = first_step_to(
        [&](int32_t x, int32_t y) {
            return known_floor(x, y) && !walk.stood_on[cell_index(x, y)] &&
                   has_unknown_neighbour(x, y);
        },
        dx, dy);
    if (!found) {
        say("Explored everything reachable.");
        return 0;
    }
    return key_for_step(dx, dy);
}

int32_t travel_key() {
    WalkState& walk = state();
    if (player->x == walk.target_x && player->y == walk.target_y) {
        say("You have arrived.");
        return 0;
    }
    int32_t dx = 0, dy = 0;
    if (!first_step_toward(walk.target_x, walk.target_y, dx, dy)) {
        say("No known way there.");
        return 0;
    }
    return key_for_step(dx, dy);
}

int32_t rest_key() {
    if (player->actual("hp") >= player->actual("hpmax")) {
        say("Rested: your health is full.");
        return 0;
    }
    return bindings->wait;
}

int32_t next_key() {
    switch (state().kind) {
        case WalkKind::Rest:
            return rest_key();
        case WalkKind::Run:
            return run_key();
        case WalkKind::Explore:
            return explore_key();
        case WalkKind::Travel:
            return travel_key();
        case WalkKind::None:
            break;
    }
    return 0;
}

// A monster already in sight forbids nothing: the walk stops when another one comes.
bool may_start() {
    return player && bindings;
}

void start(WalkKind kind) {
    WalkState& walk = state();
    walk.kind = kind;
    walk.handed = false;
    walk.said.clear();
    ++walk.said_version;
}

}  // namespace

void start_rest() {
    if (may_start()) start(WalkKind::Rest);
}

void start_run(int32_t dx, int32_t dy) {
    if (!may_start()) return;
    start(WalkKind::Run);
    state().dx = dx;
    state().dy = dy;
    state().openings = openings_beside(player->x, player->y);
}

void start_explore() {
    if (!may_start()) return;
    start(WalkKind::Explore);
    state().stood_on.clear();
}

void start_travel(int32_t x, int32_t y) {
    if (!may_start()) return;
    start(WalkKind::Travel);
    state().target_x = x;
    state().target_y = y;
}

void stop_walking(const std::string& why) {
    if (state().kind == WalkKind::None) return;
    state().kind = WalkKind::None;
    say(why);
}

WalkKind walking() {
    return state().kind;
}

const std::string& walk_said() {
    return state().said;
}

uint64_t walk_said_version() {
    return state().said_version;
}

void reset_walking() {
    state() = WalkState{};
}

void walk_pass() {
    WalkState& walk = state();
    if (walk.kind == WalkKind::None) return;
    if (!player || !bindings) return stop_walking("");
    if (walk.handed) {
        if (std::string why = something_happened(); !why.empty()) return stop_walking(why);
    }
    const int32_t key = next_key();
    if (key == 0) {
        walk.kind = WalkKind::None;
        return;
    }
    if (walk.kind == WalkKind::Run) walk.openings = openings_beside(player->x, player->y);
    walk.before = snapshot();
    walk.handed = true;
    keyboard().hand_over_hit(key);
}

bool first_step_toward(int32_t x, int32_t y, int32_t& dx, int32_t& dy) {
    if (!player) return false;
    return first_step_to([x, y](int32_t cx, int32_t cy) { return cx == x && cy == y; }, dx, dy);
}

std::any walking_state() {
    return state();
}

void put_back_walking_state(const std::any& kept) {
    state() = std::any_cast<const WalkState&>(kept);
}

}  // namespace grotmere
