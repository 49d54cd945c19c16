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
#include "aids/aid_walk_parts.hpp"
#include "base/text.hpp"
#include "platform/keyboard.hpp"
#include "platform/platform.hpp"
#include "view/player_knowledge.hpp"
#include "world/gegenstand.hpp"
#include "world/karten_tile.hpp"
#include "world/schalter.hpp"
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
    std::vector<uint8_t> door_marks;     // explore: doors it walked into or unlocked
    DropErrand drop;
    PickErrand pick;
    FireErrand fire;
    bool handed = false;        // a key was handed over in the last pass
    bool stays = false;         // and it was not meant to move the player
    bool holding_drop = false;  // the walk holds the drop key down
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

// The drop key the walk pressed is let go whenever the walk ends, so no key stays down.
void let_go_of_drop() {
    WalkState& walk = state();
    if (!walk.holding_drop) return;
    walk.holding_drop = false;
    if (bindings) keyboard().hand_over_release(bindings->drop);
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

// Whether the line was logged before the snapshot: the history read back past the newer lines.
bool logged_before(const std::string& line, uint64_t since) {
    uint64_t newer = message_history.version() - since;
    for (size_t i = message_history.size(); i > 0; --i) {
        const MessageHistory::Entry& entry = message_history.at(i - 1);
        const uint64_t count = static_cast<uint64_t>(entry.count);
        // An entry partly older than the snapshot holds an older logging of its line.
        if (newer < count && entry.text == line) return true;
        newer -= std::min(newer, count);
    }
    return false;
}

// A plate is read once its words were logged: stepping on it again says nothing new, so a walk
// that crosses it goes on.
std::string plate_words(const TSchalter& plate) {
    return plate.comment.empty() ? "You triggered " + plate.name + "!" : plate.comment;
}

bool read_plate(int32_t x, int32_t y, uint64_t since) {
    const TSchalter* plate = known_switch(x, y);
    return plate && lower_case(plate->art) == "trigger" &&
           logged_before(plate_words(*plate), since);
}

bool read_plate_line(const std::string& line) {
    return read_plate(player->x, player->y, state().before.log_version) &&
           line == plate_words(*known_switch(player->x, player->y));
}

bool expected_line(const std::string& line) {
    switch (state().kind) {
        case WalkKind::Rest:
            return line == kWaitLine || line == kHealLine;
        case WalkKind::Drop:
            return false;
        case WalkKind::Pick:
            return pick_line(line);
        case WalkKind::Fire:
            return fire_line(line);
        case WalkKind::Explore:
            if (line.starts_with("You open the ") || line.starts_with("You unlocked ")) return true;
            break;
        default:
            break;
    }
    return line == kMoveLine || read_plate_line(line);
}

std::string newcomer(const std::vector<const TGegner*>& before) {
    for (const TGegner* monster : monsters_shown()) {
        if (std::find(before.begin(), before.end(), monster) == before.end())
            return "A " + monster->name + " comes into view.";
    }
    return "";
}

bool stepping() {
    const WalkKind kind = state().kind;
    return kind == WalkKind::Run || kind == WalkKind::Explore || kind == WalkKind::Travel;
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
    const bool stood_still = player->x == before.x && player->y == before.y;
    if (stepping() && !state().stays && stood_still) return "The way is blocked.";
    return "";
}

Openings openings_beside(int32_t x, int32_t y) {
    const int32_t dx = state().dx;
    const int32_t dy = state().dy;
    return Openings{known_floor(x + dy, y + dx), known_floor(x - dy, y - dx)};
}

// A plate already read is no reason to stop.
bool worth_a_look(int32_t x, int32_t y) {
    return known_teleport(x, y) != nullptr ||
           (known_switch(x, y) != nullptr && !read_plate(x, y, state().before.log_version));
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
    return near || worth_a_look(x, y);
}

// A run stops beside anything worth a look and where the way forks or opens.
Handed run_press() {
    WalkState& walk = state();
    const int32_t x = player->x;
    const int32_t y = player->y;
    if (walk.handed) {
        const Openings now = openings_beside(x, y);
        if (heap_or_door_near(x, y) || now != walk.openings) return {};
    }
    if (!known_floor(x + walk.dx, y + walk.dy) || monster_shown_at(x + walk.dx, y + walk.dy))
        return {};
    return Handed{.key = key_for_step(walk.dx, walk.dy)};
}

Handed travel_press() {
    WalkState& walk = state();
    if (player->x == walk.target_x && player->y == walk.target_y)
        return walk_done("You have arrived.");
    int32_t dx = 0, dy = 0;
    if (!first_step_toward(walk.target_x, walk.target_y, dx, dy))
        return walk_done("No known way there.");
    return Handed{.key = key_for_step(dx, dy)};
}

Handed rest_press() {
    if (player->actual("hp") >= player->actual("hpmax"))
        return walk_done("Rested: your health is full.");
    return Handed{.key = bindings->wait};
}

Handed next_press() {
    WalkState& walk = state();
    switch (walk.kind) {
        case WalkKind::Rest:
            return rest_press();
        case WalkKind::Run:
            return run_press();
        case WalkKind::Explore:
            return explore_press(walk.stood_on, walk.door_marks);
        case WalkKind::Travel:
            return travel_press();
        case WalkKind::Drop:
            return drop_press(walk.drop);
        case WalkKind::Pick:
            return pick_press(walk.pick);
        case WalkKind::Fire:
            return fire_press(walk.fire);
        case WalkKind::None:
            break;
    }
    return {};
}

// A monster already in sight forbids nothing: the walk stops when another one comes.
bool may_start() {
    return player && bindings;
}

void start(WalkKind kind) {
    WalkState& walk = state();
    let_go_of_drop();
    walk.kind = kind;
    walk.handed = false;
    walk.said.clear();
    ++walk.said_version;
}

// The press goes to the game as the player's own, the drop key pressed or let go first as it
// asks.
void hand_over(const Handed& press) {
    WalkState& walk = state();
    if (press.with_drop != walk.holding_drop) {
        if (press.with_drop) {
            keyboard().hand_over_press(bindings->drop);
            walk.holding_drop = true;
        } else {
            let_go_of_drop();
        }
    }
    walk.stays = press.stays;
    walk.before = snapshot();
    walk.handed = true;
    keyboard().hand_over_hit(press.key);
}

}  // namespace

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

int32_t key_for_step(int32_t dx, int32_t dy) {
    const TTastatur& keys = *bindings;
    if (dx < 0) return keys.go_left;
    if (dx > 0) return keys.go_right;
    if (dy < 0) return keys.go_up;
    return dy > 0 ? keys.go_down : 0;
}

Reach reach_from_player(const std::function<bool(int32_t, int32_t)>& goal) {
    Reach reach;
    if (!inside_map(player->x, player->y)) return reach;
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
            if (at == start) break;
            while (static_cast<size_t>(came_from[at]) != start)
                at = static_cast<size_t>(came_from[at]);
            reach.found = true;
            reach.dx = static_cast<int32_t>(at % static_cast<size_t>(map_width)) - player->x;
            reach.dy = static_cast<int32_t>(at / static_cast<size_t>(map_width)) - player->y;
            break;
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
    reach.reached.resize(came_from.size());
    for (size_t i = 0; i < came_from.size(); ++i)
        reach.reached[i] = came_from[i] >= 0;
    return reach;
}

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
    state().door_marks.clear();
}

void start_travel(int32_t x, int32_t y) {
    if (!may_start()) return;
    start(WalkKind::Travel);
    state().target_x = x;
    state().target_y = y;
}

void start_drop(int32_t slot) {
    if (!may_start() || slot < 1 || slot > kInventorySlots) return;
    const std::shared_ptr<TGegenstand>& item = (*player->inventory)[static_cast<size_t>(slot - 1)];
    if (!item) return walk_say("Slot " + int_to_text(slot) + " is empty.");
    start(WalkKind::Drop);
    state().drop = DropErrand{slot, item->name, 0, item->anzahl};
}

void start_pick(const std::string& keep) {
    if (!may_start()) return;
    start(WalkKind::Pick);
    PickErrand& pick = state().pick;
    pick = PickErrand{};
    pick.keep = keep;
    for (const std::shared_ptr<TGegenstand>& item : *player->inventory) {
        if (item) pick.before[item->name] += item->anzahl;
    }
}

void start_fire(const TGegner& target) {
    if (!may_start()) return;
    start(WalkKind::Fire);
    state().fire = FireErrand{&target, target.name};
}

void stop_walking(const std::string& why) {
    let_go_of_drop();
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

void walk_say(const std::string& text) {
    say(text);
}

void reset_walking() {
    let_go_of_drop();
    state() = WalkState{};
}

void walk_pass() {
    WalkState& walk = state();
    if (walk.kind == WalkKind::None) return;
    if (!player || !bindings) return stop_walking("");
    if (walk.handed) {
        if (std::string why = something_happened(); !why.empty()) return stop_walking(why);
    }
    const Handed press = next_press();
    if (press.key == 0) {
        let_go_of_drop();
        walk.kind = WalkKind::None;
        if (!press.done.empty()) say(press.done);
        return;
    }
    if (walk.kind == WalkKind::Run) walk.openings = openings_beside(player->x, player->y);
    hand_over(press);
}

bool first_step_toward(int32_t x, int32_t y, int32_t& dx, int32_t& dy) {
    if (!player) return false;
    const Reach reach =
        reach_from_player([x, y](int32_t cx, int32_t cy) { return cx == x && cy == y; });
    dx = reach.dx;
    dy = reach.dy;
    return reach.found;
}

std::any walking_state() {
    return state();
}

void put_back_walking_state(const std::any& kept) {
    state() = std::any_cast<const WalkState&>(kept);
}

}  // namespace grotmere
