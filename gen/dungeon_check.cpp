#include "gen/dungeon_check.hpp"

#include <algorithm>
#include <deque>
#include <set>

namespace grotmere::gen {

namespace {

std::string at_text(Cell c) {
    return "(" + std::to_string(c.x) + "|" + std::to_string(c.y) + ")";
}
std::string depth_text(int32_t depth) {
    return "depth " + std::to_string(depth + 1);
}

// How a walk treats what stands in its way.
struct WalkRules {
    std::vector<Cell> shut;  // never entered
    int32_t within = -1;     // the only depth walked on, or -1 for all
    bool secrets = true;     // hidden doors are found
    bool locks = true;       // locked doors open only by a key of the pack or a lever reached
};

// Whether a switch's text unlocks or opens its target: "locked" not set by ACTIVATE, or "open"
// not cleared by DEACTIVATE.
bool opens_target(const Switch& s) {
    std::string mode = "TOGGLE", rest = s.wirkung;
    for (;;) {
        const size_t bar = rest.find('|');
        const std::string token = rest.substr(0, bar);
        if (token == "TOGGLE" || token == "ACTIVATE" || token == "DEACTIVATE")
            mode = token;
        else if ((token == "locked" && mode != "ACTIVATE") ||
                 (token == "open" && mode != "DEACTIVATE"))
            return s.art == "button" || s.art == "trigger";
        if (bar == std::string::npos) return false;
        rest = rest.substr(bar + 1);
    }
}

class Walker {
public:
    Walker(const Dungeon& d, WalkRules rules)
        : d_(d), rules_(std::move(rules)), doors_(size_t(d.width) * d.height) {
        for (const Door& door : d.doors)
            if (d.inside(door.at)) doors_[index(door.at)].push_back(&door);
    }

    // The tiles reached from `from`; a round that reaches a lever unlocks its door for the next,
    // until a round unlocks nothing new.
    std::vector<bool> reach(Cell from) {
        for (;;) {
            std::vector<bool> seen = flood(from);
            const size_t before = unlocked_.size();
            for (const Switch& s : d_.switches)
                if (reached(seen, s.at) && opens_target(s)) unlocked_.insert(index(s.target));
            if (unlocked_.size() == before) return seen;
        }
    }
    bool reached(const std::vector<bool>& seen, Cell c) const {
        return d_.inside(c) && seen[index(c)];
    }

private:
    size_t index(Cell c) const { return size_t(c.y) * d_.width + c.x; }

    bool enterable(Cell c) const {
        if (!d_.open(c)) return false;
        if (rules_.within >= 0 && d_.depth_of(c) != rules_.within) return false;
        if (std::find(rules_.shut.begin(), rules_.shut.end(), c) != rules_.shut.end()) return false;
        for (const Door* door_at : doors_[index(c)]) {
            const Door& door = *door_at;
            if (door.secret && !rules_.secrets) return false;
            const bool in_pack = std::find(d_.pack_keys.begin(), d_.pack_keys.end(), door.key_id) !=
                                 d_.pack_keys.end();
            if (door.locked && rules_.locks && !in_pack && !unlocked_.count(index(c))) return false;
        }
        return true;
    }

    std::vector<bool> flood(Cell from) {
        std::vector<bool> seen(size_t(d_.width) * d_.height, false);
        std::deque<Cell> queue;
        auto visit = [&](Cell c) {
            if (!enterable(c) || seen[index(c)]) return;
            seen[index(c)] = true;
            queue.push_back(c);
        };
        visit(from);
        while (!queue.empty()) {
            const Cell c = queue.front();
            queue.pop_front();
            const auto portal = std::find_if(d_.teleports.begin(), d_.teleports.end(),
                                             [&](const Teleport& t) { return t.at == c; });
            if (portal != d_.teleports.end()) {
                visit(portal->to);
                continue;
            }
            for (const Cell step :
                 {Cell{c.x + 1, c.y}, Cell{c.x - 1, c.y}, Cell{c.x, c.y + 1}, Cell{c.x, c.y - 1}})
                visit(step);
        }
        return seen;
    }

    const Dungeon& d_;
    WalkRules rules_;
    std::vector<std::vector<const Door*>> doors_;  // by tile
    std::set<size_t> unlocked_;
};

bool reaches(const Dungeon& d, Cell from, Cell to, WalkRules rules) {
    Walker walker(d, std::move(rules));
    return walker.reached(walker.reach(from), to);
}

// Turns a monster needs at least to stand on each tile, every door open: in a turn it is carried
// by the teleport it stands on, then steps to a neighbour or stays.
std::vector<int32_t> monster_turns(const Dungeon& d, const std::vector<Cell>& from) {
    constexpr int32_t kNever = 1 << 30;
    std::vector<int32_t> turns(size_t(d.width) * d.height, kNever);
    auto index = [&](Cell c) { return size_t(c.y) * d.width + c.x; };
    std::deque<Cell> queue;
    for (const Cell c : from)
        if (d.open(c) && turns[index(c)] != 0) {
            turns[index(c)] = 0;
            queue.push_back(c);
        }
    while (!queue.empty()) {
        Cell c = queue.front();
        queue.pop_front();
        const int32_t next = turns[index(c)] + 1;
        for (const Teleport& t : d.teleports)
            if (t.at == c && d.open(t.to)) c = t.to;
        for (const Cell step :
             {c, Cell{c.x + 1, c.y}, Cell{c.x - 1, c.y}, Cell{c.x, c.y + 1}, Cell{c.x, c.y - 1}})
            if (d.open(step) && turns[index(step)] > next) {
                turns[index(step)] = next;
                queue.push_back(step);
            }
    }
    return turns;
}

void add(std::vector<std::string>& to, const std::vector<std::string>& more) {
    to.insert(to.end(), more.begin(), more.end());
}

}  // namespace

std::vector<std::string> climb_faults(const Dungeon& d) {
    std::vector<std::string> faults;
    for (int32_t y = 0; y < d.height; ++y)
        for (int32_t x = 0; x < d.width; ++x) {
            const Cell c{x, y};
            if (!d.open(c)) continue;
            const int32_t here = d.depth_of(c);
            if (here < 0) faults.push_back("the floor at " + at_text(c) + " lies on no depth");
            for (const Cell n : {Cell{x + 1, y}, Cell{x, y + 1}})
                if (d.open(n) && d.depth_of(n) != here)
                    faults.push_back("a step joins " + at_text(c) + " on " + depth_text(here) +
                                     " and " + at_text(n) + " on " + depth_text(d.depth_of(n)));
        }
    for (const Teleport& t : d.teleports) {
        const int32_t from = d.depth_of(t.at), to = d.depth_of(t.to);
        if (!d.open(t.to))
            faults.push_back("the teleport at " + at_text(t.at) + " leads into rock");
        else if (to < from)
            faults.push_back("the teleport at " + at_text(t.at) + " leads up from " +
                             depth_text(from) + " to " + depth_text(to));
    }
    return faults;
}

std::vector<std::string> start_region_faults(const Dungeon& d) {
    std::vector<Cell> strong;
    for (const Spawn& spawn : d.spawns)
        if (spawn.level > kMostLevelNearStart) strong.push_back(spawn.at);
    const std::vector<int32_t> turns = monster_turns(d, strong);
    const Room& start = d.rooms[d.start_room];
    Cell soonest{start.x0, start.y0};
    auto turns_to = [&](Cell c) { return turns[size_t(c.y) * d.width + c.x]; };
    for (int32_t y = start.y0; y <= start.y1; ++y)
        for (int32_t x = start.x0; x <= start.x1; ++x)
            if (d.open({x, y}) && turns_to({x, y}) < turns_to(soonest)) soonest = {x, y};
    if (turns_to(soonest) > kQuietTurns) return {};
    return {"a monster above level " + std::to_string(kMostLevelNearStart) +
            " can reach the start room at " + at_text(soonest) + " in " +
            std::to_string(turns_to(soonest)) + " turns"};
}

std::vector<std::string> key_faults(const Dungeon& d) {
    std::vector<std::string> faults;
    for (const Door& door : d.doors) {
        const bool in_pack =
            std::find(d.pack_keys.begin(), d.pack_keys.end(), door.key_id) != d.pack_keys.end();
        if (!door.locked || in_pack) continue;
        const int32_t depth = d.depth_of(door.at);
        bool any = false, before = false;
        for (const Switch& s : d.switches) {
            if (!(s.target == door.at) || !opens_target(s)) continue;
            any = true;
            before = before || (depth >= 0 && reaches(d, d.depths[size_t(depth)].arrival, s.at,
                                                      {{door.at}, depth, false, true}));
        }
        if (!any)
            faults.push_back("no key of the pack and no lever opens " + door.name + " at " +
                             at_text(door.at));
        else if (!before)
            faults.push_back("the lever of " + door.name + " at " + at_text(door.at) +
                             " cannot be reached before the door on " + depth_text(depth));
    }
    return faults;
}

std::vector<std::string> depth_faults(const Dungeon& d) {
    std::vector<std::string> faults;
    for (size_t k = 0; k < d.depths.size(); ++k) {
        const Depth& depth = d.depths[k];
        const bool last = k + 1 == d.depths.size();
        if (k > 0 && std::none_of(d.teleports.begin(), d.teleports.end(), [&](const Teleport& t) {
                return t.to == depth.arrival && d.depth_of(t.at) == int32_t(k) - 1;
            }))
            faults.push_back("no stair from " + depth_text(int32_t(k) - 1) + " lands at " +
                             depth_text(int32_t(k)) + "'s arrival " + at_text(depth.arrival));
        Walker walker(d, {{}, int32_t(k), false, true});
        const std::vector<bool> seen = walker.reach(depth.arrival);
        const Cell goal = last ? d.exit : depth.stair;
        if (!walker.reached(seen, goal))
            faults.push_back(depth_text(int32_t(k)) +
                             " cannot be left: " + (last ? "the exit at " : "the stair down at ") +
                             at_text(goal) + " cannot be reached from " + at_text(depth.arrival) +
                             " with the pack's keys and the depth's levers");
    }
    return faults;
}

std::vector<std::string> verify_dungeon(const Dungeon& d) {
    std::vector<std::string> broken;
    if (d.width > kLargestSide || d.height > kLargestSide)
        broken.push_back("the size " + std::to_string(d.width) + " x " + std::to_string(d.height) +
                         " is out of range");
    if (int32_t(d.depths.size()) < kFewestDepths || int32_t(d.depths.size()) > kMostDepths)
        broken.push_back(std::to_string(d.depths.size()) + " depths");
    add(broken, climb_faults(d));
    add(broken, start_region_faults(d));
    add(broken, key_faults(d));
    add(broken, depth_faults(d));

    if (reaches(d, d.start, d.exit, {{d.gate}}))
        broken.push_back("the exit can be reached past the gate");
    if (!reaches(d, d.start, d.lever, {{d.gate}, -1, true, false}))
        broken.push_back("the lever at " + at_text(d.lever) + " cannot be reached before the gate");
    if (reaches(d, d.start, d.lever, {{d.gate, d.guardian}, -1, true, false}))
        broken.push_back("the guardian at " + at_text(d.guardian) + " can be walked around");
    Walker everywhere(d, {{}, -1, true, false});
    const std::vector<bool> everything = everywhere.reach(d.start);
    for (size_t room = 0; room < d.rooms.size(); ++room)
        if (!everywhere.reached(everything, d.rooms[room].centre()) &&
            !everywhere.reached(everything, {d.rooms[room].x0, d.rooms[room].y0}) &&
            !everywhere.reached(everything, {d.rooms[room].x1, d.rooms[room].y1}))
            broken.push_back("room " + std::to_string(room) + " cannot be reached");

    for (size_t k = 0; k < d.depths.size(); ++k)
        if (d.depths[k].loops < 1) broken.push_back(depth_text(int32_t(k)) + " has no loop");
    if (std::none_of(d.doors.begin(), d.doors.end(), [](const Door& door) { return door.secret; }))
        broken.push_back("no hidden door");
    if (std::count_if(d.teleports.begin(), d.teleports.end(),
                      [&](const Teleport& t) { return d.depth_of(t.at) == d.depth_of(t.to); }) < 2)
        broken.push_back("no portal pair");
    if (std::none_of(d.lamps.begin(), d.lamps.end(),
                     [](const Lamp& lamp) { return lamp.burn > 0; }))
        broken.push_back("no lamp burns down");
    if (std::all_of(d.rooms.begin(), d.rooms.end(), [](const Room& room) { return room.lit; }))
        broken.push_back("no dark room");
    return broken;
}

std::optional<Dungeon> first_kept_dungeon(int32_t seed, const Palette& palette,
                                          int32_t first_attempt) {
    for (int32_t attempt = first_attempt; attempt < kMostAttempts; ++attempt) {
        std::optional<Dungeon> dungeon = lay_out_dungeon(seed, attempt, palette);
        if (dungeon && verify_dungeon(*dungeon).empty()) return dungeon;
    }
    return std::nullopt;
}

}  // namespace grotmere::gen
