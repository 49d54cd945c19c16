#include "gen/dungeon_check.hpp"

#include <algorithm>
#include <deque>

namespace grotmere::gen {

namespace {

// The tiles the player can reach from the start with the given tiles shut. Every door but those
// opens: unlocked doors by walking into them, locked ones by the starting pack's keys, hidden
// ones by looking. A portal carries whoever steps on it to its target.
std::vector<bool> reachable(const Dungeon& d, const std::vector<Cell>& shut) {
    std::vector<bool> seen(size_t(d.width) * d.height, false);
    auto index = [&](Cell c) { return size_t(c.y) * d.width + c.x; };
    auto open = [&](Cell c) {
        return d.inside(c) && d.at(c) != char(Terrain::Rock) &&
               std::find(shut.begin(), shut.end(), c) == shut.end();
    };
    std::deque<Cell> queue;
    auto visit = [&](Cell c) {
        if (!open(c) || seen[index(c)]) return;
        seen[index(c)] = true;
        queue.push_back(c);
    };
    visit(d.start);
    while (!queue.empty()) {
        const Cell c = queue.front();
        queue.pop_front();
        const auto portal = std::find_if(d.teleports.begin(), d.teleports.end(),
                                         [&](const Teleport& t) { return t.at == c; });
        if (portal != d.teleports.end()) {
            visit(portal->to);
            continue;
        }
        for (const Cell step :
             {Cell{c.x + 1, c.y}, Cell{c.x - 1, c.y}, Cell{c.x, c.y + 1}, Cell{c.x, c.y - 1}})
            visit(step);
    }
    return seen;
}

bool reached(const Dungeon& d, const std::vector<bool>& seen, Cell c) {
    return d.inside(c) && seen[size_t(c.y) * d.width + c.x];
}

std::string at_text(Cell c) {
    return "(" + std::to_string(c.x) + "|" + std::to_string(c.y) + ")";
}

}  // namespace

std::vector<std::string> verify_dungeon(const Dungeon& d) {
    std::vector<std::string> broken;
    if (d.width < kSmallestWidth || d.width > kLargestWidth || d.height < kSmallestHeight ||
        d.height > kLargestHeight)
        broken.push_back("the size " + std::to_string(d.width) + " x " + std::to_string(d.height) +
                         " is out of range");

    const std::vector<bool> before_gate = reachable(d, {d.gate});
    if (reached(d, before_gate, d.exit)) broken.push_back("the exit can be reached past the gate");
    if (!reached(d, before_gate, d.lever))
        broken.push_back("the lever at " + at_text(d.lever) + " cannot be reached before the gate");
    if (reached(d, reachable(d, {d.gate, d.guardian}), d.lever))
        broken.push_back("the guardian at " + at_text(d.guardian) + " can be walked around");
    const std::vector<bool> everything = reachable(d, {});
    if (!reached(d, everything, d.exit)) broken.push_back("the exit cannot be reached");
    for (size_t room = 0; room < d.rooms.size(); ++room)
        if (!reached(d, everything, d.rooms[room].centre()) &&
            !reached(d, everything, {d.rooms[room].x0, d.rooms[room].y0}))
            broken.push_back("room " + std::to_string(room) + " cannot be reached");

    if (d.loops < 1) broken.push_back("no loop");
    if (std::none_of(d.doors.begin(), d.doors.end(), [](const Door& door) { return door.secret; }))
        broken.push_back("no hidden door");
    if (d.teleports.size() < 2) broken.push_back("no portal pair");
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
