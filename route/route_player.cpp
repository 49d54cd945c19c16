#include "route/route_player.hpp"

#include <algorithm>
#include <cstdlib>
#include <deque>

#include "actors/gegner.hpp"
#include "actors/panzer.hpp"
#include "actors/player.hpp"
#include "actors/tastatur.hpp"
#include "actors/treasure.hpp"
#include "actors/waffe.hpp"
#include "aids/aid_keys.hpp"
#include "aids/aid_walk.hpp"
#include "aids/window_aids.hpp"
#include "platform/drawing.hpp"
#include "platform/keyboard.hpp"
#include "run/startup.hpp"
#include "view/map_cells.hpp"
#include "view/player_knowledge.hpp"
#include "world/door.hpp"
#include "world/karten_tile.hpp"
#include "world/leuchte.hpp"
#include "world/teleport.hpp"
#include "world/world_state.hpp"

namespace grotmere::route {
namespace {

// Long enough for the slowest route seen; a game still going after it counts as stuck.
constexpr int32_t kPassLimit = 40000;

InputEvent hit(int32_t code) {
    return {InputEvent::Kind::Hit, code};
}

// A door the player may walk through, opening or unlocking it on the way; teleports are stepped
// around but for the one the player goes to.
bool passable(int32_t x, int32_t y, const std::set<int32_t>& keys, bool goal) {
    TKartenTile* tile = map_tile(x, y);
    if (tile == nullptr || tile->ID == 1) return false;
    bool open = true;
    tile->gegenstaende()->for_each([&](RecordRef& record) {
        if (!goal && std::dynamic_pointer_cast<TTeleport>(record)) open = false;
        auto door = std::dynamic_pointer_cast<TDoor>(record);
        if (!door || door->open) return;
        if (door->secret || (door->locked && !keys.count(door->key_id))) open = false;
    });
    return open;
}

int32_t direction_key(int32_t dx, int32_t dy) {
    if (dx < 0) return bindings->go_left;
    if (dx > 0) return bindings->go_right;
    return dy < 0 ? bindings->go_up : bindings->go_down;
}

// Walking into a monster strikes it, into a closed door opens it; a locked one is unlocked first
// with the use key.
int32_t step_key(std::pair<int32_t, int32_t> step) {
    const int32_t x = player->x + step.first;
    const int32_t y = player->y + step.second;
    bool locked = false;
    map_tile(x, y)->gegenstaende()->for_each_of<TDoor>(
        [&](std::shared_ptr<TDoor>& door) { locked = locked || (door->locked && !door->open); });
    if (locked && !TGegner::collide(x, y)) return bindings->use;
    return direction_key(step.first, step.second);
}

int32_t slot_key(int32_t slot) {
    return slot == 10 ? '0' : '0' + slot;
}

// The first slot whose item `wanted` accepts, or 0.
template <class Wanted>
int32_t slot_where(Wanted wanted) {
    for (int32_t k = 1; k <= kInventorySlots; ++k) {
        const auto& item = (*player->inventory)[static_cast<size_t>(k - 1)];
        if (item && wanted(*item)) return k;
    }
    return 0;
}

int32_t potion_slot() {
    for (const char* name : {"Greater Healing Potion", "Healing Potion"}) {
        if (int32_t k = slot_where([&](const TGegenstand& item) { return item.name == name; }))
            return k;
    }
    return 0;
}

// A better melee weapon or armour from the loot is put on at once.
int32_t upgrade_slot() {
    return slot_where([](const TGegenstand& item) {
        if (auto* weapon = dynamic_cast<const TWaffe*>(&item)) {
            return weapon->reichweite == 0 && (!player->waffe || weapon->dmg > player->waffe->dmg);
        }
        if (auto* armour = dynamic_cast<const TPanzer*>(&item))
            return !player->panzer || armour->rs > player->panzer->rs;
        return false;
    });
}

int32_t light_slot() {
    if (player->leuchte) return 0;
    return slot_where([](const TGegenstand& item) { return dynamic_cast<const TLeuchte*>(&item); });
}

// Loot of a slain monster beside the player, not tried before.
bool loot_beside(std::set<std::shared_ptr<TTreasure>>& tried) {
    bool found = false;
    treasures->for_each_of<TTreasure>([&](std::shared_ptr<TTreasure>& heap) {
        if (std::abs(heap->x - player->x) <= 1 && std::abs(heap->y - player->y) <= 1 &&
            tried.insert(heap).second)
            found = true;
    });
    return found;
}

bool walking_key(int32_t key) {
    return key == bindings->go_left || key == bindings->go_right || key == bindings->go_up ||
           key == bindings->go_down;
}

}  // namespace

RoutePlayer::RoutePlayer(HeadlessBackend& backend, bool aided) : backend_(backend), aided_(aided) {}

PassResult RoutePlayer::pass(PassInput input) {
    backend_.queue_pass(std::move(input));
    PassResult result = run_pass();
    if (after_pass) after_pass();
    return result;
}

void RoutePlayer::arm() {
    for (int32_t (*pick)() : {upgrade_slot, upgrade_slot, light_slot}) {
        const int32_t slot = pick();
        if (slot == 0) continue;
        pass({hit(slot_key(slot))});
        ++presses;
    }
}

// The first step of a shortest way to the nearest tile that `wanted` accepts, or none.
template <class Wanted>
std::optional<std::pair<int32_t, int32_t>> RoutePlayer::first_step(const std::set<int32_t>& keys,
                                                                   Wanted wanted) {
    const int32_t w = map_width;
    std::vector<int32_t> from(static_cast<size_t>(w * map_height), -1);
    const int32_t start = player->y * w + player->x;
    from[start] = start;
    std::deque<int32_t> open{start};
    while (!open.empty()) {
        const int32_t here = open.front();
        open.pop_front();
        if (here != start && wanted(here % w, here / w)) {
            int32_t step = here;
            path_ = {here};
            while (from[step] != start)
                path_.insert(path_.begin(), step = from[step]);
            return std::pair{step % w - player->x, step / w - player->y};
        }
        for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            const int32_t nx = here % w + dx;
            const int32_t ny = here / w + dy;
            if (nx < 0 || ny < 0 || nx >= w || ny >= map_height) continue;
            const int32_t next = ny * w + nx;
            if (from[next] != -1 || !passable(nx, ny, keys, wanted(nx, ny))) continue;
            from[next] = here;
            open.push_back(next);
        }
    }
    return std::nullopt;
}

std::optional<int32_t> RoutePlayer::hunt_key(const Goal& goal, bool under_fire) {
    // Between fights the player gets its breath back.
    if (!under_fire && player->actual("hp") < player->actual("hpmax") * 3 / 4 && ++rested_ < 3000)
        return bindings->wait;
    rested_ = 0;
    auto hunted = [&](int32_t x, int32_t y) -> TGegner* {
        TGegner* monster = TGegner::collide(x, y).get();
        if (monster == nullptr) return nullptr;
        if (!goal.only.empty()) return monster->name == goal.only ? monster : nullptr;
        return monster->name != goal.except ? monster : nullptr;
    };
    std::optional<int32_t> level;
    if (goal.weakest_first) {
        // A walk over everything reachable finds the lowest level first.
        first_step(goal.keys, [&](int32_t x, int32_t y) {
            if (TGegner* monster = hunted(x, y))
                level = std::min(level.value_or(monster->level), monster->level);
            return false;
        });
    }
    auto step = first_step(goal.keys, [&](int32_t x, int32_t y) {
        TGegner* monster = hunted(x, y);
        return monster != nullptr && (!level || monster->level == *level);
    });
    if (!step) return std::nullopt;
    return step_key(*step);
}

// The key of this pass for the goal; none when the goal is reached.
std::optional<int32_t> RoutePlayer::key_for(const Goal& goal) {
    const int32_t potion = potion_slot();
    if (potion != 0 && player->actual("hp") < player->actual("hpmax") / potion_below)
        return slot_key(potion);
    // A monster beside the player (in a straight line) is fought whatever the goal.
    for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
        if (TGegner::collide(player->x + dx, player->y + dy)) return direction_key(dx, dy);
    }
    if (loot_beside(looted_)) return bindings->get;
    if (int32_t better = upgrade_slot()) return slot_key(better);
    // Hit while resting: something shoots; go and fight it instead.
    const bool under_fire = player->hp < last_hp_;
    last_hp_ = player->hp;
    switch (goal.kind) {
        case Goal::Kind::Visit: {
            if (player->x == goal.x && player->y == goal.y) return std::nullopt;
            if (player->x == goal.to_x && player->y == goal.to_y) return std::nullopt;
            auto step = first_step(
                goal.keys, [&](int32_t x, int32_t y) { return x == goal.x && y == goal.y; });
            if (!step) {
                stuck = "no way to " + std::to_string(goal.x) + "," + std::to_string(goal.y);
                return std::nullopt;
            }
            return step_key(*step);
        }
        case Goal::Kind::Hunt:
            return hunt_key(goal, under_fire);
        case Goal::Kind::Rest:
            if (under_fire || player->actual("hp") >= player->actual("hpmax") || ++rested_ > 2000)
                return std::nullopt;
            return bindings->wait;
        case Goal::Kind::Use:
            return bindings->use;
    }
    return std::nullopt;
}

// With the aids, waiting becomes one rest and walking one click on the cell farthest along the
// way that the player knows and sees on the screen.
std::optional<GameEnd> RoutePlayer::play(const std::vector<Goal>& goals) {
    std::optional<GameEnd> end;
    for (int32_t passes = 0; passes < kPassLimit && !end && goal < goals.size(); ++passes) {
        path_.clear();
        std::optional<int32_t> key = key_for(goals[goal]);
        if (!key) {
            if (!stuck.empty()) return end;
            ++goal;
            rested_ = 0;
            continue;
        }
        ++presses;
        if (aided_ && (*key == bindings->wait || click_along_the_way(*key))) {
            end = pass(*key == bindings->wait ? PassInput{hit(kRestKey)} : PassInput{}).end;
            while (!end && walking() != WalkKind::None)
                end = pass({}).end;
            continue;
        }
        end = pass({hit(*key)}).end;
        if (goals[goal].kind == Goal::Kind::Use) ++goal;
    }
    return end;
}

// A click that travels at least two steps of the way the last key was chosen for.
bool RoutePlayer::click_along_the_way(int32_t key) {
    if (!walking_key(key)) return false;
    std::optional<std::pair<int32_t, int32_t>> target;
    for (size_t i = 0; i < path_.size(); ++i) {
        const int32_t x = path_[i] % map_width, y = path_[i] / map_width;
        int32_t px = 0, py = 0;
        if (!known_floor(x, y) || TGegner::collide(x, y) || !map_cell_pixel(x, y, px, py)) break;
        if (i >= 1) target = {px + 4, py + 4};
    }
    if (!target) return false;
    PointerState& pointer = keyboard().pointer();
    pointer = PointerState{true, target->first, target->second, 1, pointer.moves + 1};
    return true;
}

std::vector<Goal> generated_route(const gen::Dungeon& dungeon, const gen::Palette& palette) {
    using K = Goal::Kind;
    const std::string guardian = dungeon.spawns.back().name;
    std::vector<Goal> goals;
    // The pack's keys open every door they fit from the start; the weakest monsters within reach
    // are fought first, so the player grows with the fights.
    std::set<int32_t> keys;
    for (const gen::KeyKind& key : palette.keys)
        keys.insert(key.key_id);
    for (size_t k = 0; k < dungeon.depths.size(); ++k) {
        const gen::Depth& depth = dungeon.depths[k];
        goals.push_back({K::Hunt, 0, 0, keys, "", guardian, true});
        for (const gen::Switch& lever : dungeon.switches) {
            if (lever.art != "button" || lever.at == dungeon.lever ||
                dungeon.depth_of(lever.at) != int32_t(k))
                continue;
            goals.push_back({K::Visit, lever.at.x, lever.at.y, keys});
            goals.push_back({K::Use});
        }
        goals.push_back({K::Hunt, 0, 0, keys, "", guardian, true});
        goals.push_back({K::Rest});
        if (k + 1 < dungeon.depths.size()) {
            const gen::Cell lands = dungeon.depths[k + 1].arrival;
            goals.push_back(
                {K::Visit, depth.stair.x, depth.stair.y, keys, "", "", false, lands.x, lands.y});
        }
    }
    goals.push_back({K::Hunt, 0, 0, keys, guardian});
    goals.push_back({K::Visit, dungeon.lever.x, dungeon.lever.y, keys});
    goals.push_back({K::Use});
    goals.push_back({K::Visit, dungeon.exit.x, dungeon.exit.y, keys});
    return goals;
}

RouteOutcome play_generated_route(const gen::Dungeon& dungeon, const gen::Palette& palette,
                                  int32_t seed, bool aided) {
    reset_world();
    HeadlessBackend backend;
    set_backend(&backend);
    set_window_aids(WindowAids{.on = aided});
    RouteOutcome outcome;
    if (!start_game(StartupOptions{seed})) {
        WithoutPixels quick;
        RoutePlayer route(backend, aided);
        route.arm();
        const std::vector<Goal> goals = generated_route(dungeon, palette);
        const std::optional<GameEnd> end = route.play(goals);
        outcome = {end,           route.goal,    goals.size(),
                   route.presses, player->level, dungeon.depth_of({player->x, player->y}) + 1};
    }
    set_window_aids(WindowAids{});
    set_backend(nullptr);
    reset_world();
    return outcome;
}

}  // namespace grotmere::route
