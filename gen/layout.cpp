#include "gen/layout.hpp"

#include <algorithm>
#include <deque>
#include <stdexcept>

namespace grotmere::gen {

namespace {

// A lattice cell is at least this big, so that two rooms in neighbouring cells keep four tiles
// of rock between them for the corridor's bend, and a corridor never touches a room's floor but
// at its doorway.
constexpr int32_t kCellWidth = 19;
constexpr int32_t kCellHeight = 13;

struct Lattice {
    int32_t columns = 0, rows = 0;
    size_t count() const { return size_t(columns) * rows; }
    size_t index(int32_t column, int32_t row) const { return size_t(row) * columns + column; }
    int32_t column(size_t room) const { return int32_t(room % columns); }
    int32_t row(size_t room) const { return int32_t(room / columns); }
    std::vector<size_t> neighbours(size_t room) const {
        std::vector<size_t> out;
        const int32_t c = column(room), r = row(room);
        if (c + 1 < columns) out.push_back(index(c + 1, r));
        if (c > 0) out.push_back(index(c - 1, r));
        if (r + 1 < rows) out.push_back(index(c, r + 1));
        if (r > 0) out.push_back(index(c, r - 1));
        return out;
    }
};

using Edges = std::vector<std::pair<size_t, size_t>>;

// The shapes a style cuts its rooms in; a role room is always a plain one, the arrival room never
// a maze (its middle, where the player stands, must be floor).
Shape shape_for(GenRandom& dice, Style style, bool arrival) {
    const int32_t roll = dice.range(1, 100);
    switch (style) {
        case Style::Rooms:
            return roll <= 70 ? Shape::Rect : roll <= 85 ? Shape::Pillars : Shape::Cross;
        case Style::Shapes:
            return roll <= 35 ? Shape::Circle : roll <= 70 ? Shape::Cross : Shape::Pillars;
        case Style::Caves:
            return roll <= 85 ? Shape::Cave : Shape::Circle;
        case Style::Maze:
            if (arrival) return Shape::Rect;
            return roll <= 80 ? Shape::Maze : Shape::Rect;
    }
    return Shape::Rect;
}

Room place_room(GenRandom& dice, const Box& cell, Shape shape) {
    const int32_t most_w = std::max(5, cell.width() - 6), most_h = std::max(4, cell.height() - 5);
    const bool roomy = shape == Shape::Cave || shape == Shape::Maze;
    const bool shaped = shape == Shape::Cross || shape == Shape::Circle || shape == Shape::Pillars;
    int32_t w = roomy ? most_w - dice.range(0, 2) : dice.range(shaped ? 7 : 5, most_w);
    int32_t h = roomy ? most_h - dice.range(0, 2) : dice.range(shaped ? 7 : 4, most_h);
    w = std::min(w, most_w);
    h = std::min(h, most_h);
    if (shape == Shape::Maze) {  // odd sides: the maze's tiles stand on them
        w -= 1 - w % 2;
        h -= 1 - h % 2;
    }
    Room room;
    room.shape = shape;
    room.x0 = cell.x0 + 2 + dice.range(0, cell.width() - 4 - w);
    room.y0 = cell.y0 + 2 + dice.range(0, cell.height() - 4 - h);
    room.x1 = room.x0 + w - 1;
    room.y1 = room.y0 + h - 1;
    return room;
}

void carve(Dungeon& dungeon, Cell c, Terrain terrain) {
    char& tile = dungeon.rows[c.y][c.x];
    if (tile == char(Terrain::Rock)) tile = char(terrain);
}

// A straight leg from one tile to another in one row or column.
void carve_leg(Dungeon& dungeon, Cell from, Cell to) {
    const int32_t dx = (to.x > from.x) - (to.x < from.x), dy = (to.y > from.y) - (to.y < from.y);
    for (Cell c = from;; c = {c.x + dx, c.y + dy}) {
        carve(dungeon, c, Terrain::Corridor);
        if (c == to) break;
    }
}

// Where along one side of a room's box (0 east, 1 west, 2 south, 3 north) floor touches it.
std::vector<int32_t> openings(const Dungeon& dungeon, const Room& room, int32_t side) {
    std::vector<int32_t> out;
    const bool upright = side < 2;
    const int32_t from = upright ? room.y0 : room.x0, to = upright ? room.y1 : room.x1;
    for (int32_t k = from; k <= to; ++k) {
        const Cell c = side == 0   ? Cell{room.x1, k}
                       : side == 1 ? Cell{room.x0, k}
                       : side == 2 ? Cell{k, room.y1}
                                   : Cell{k, room.y0};
        if (dungeon.at(c) == char(Terrain::Floor)) out.push_back(k);
    }
    return out;
}

// Joins two rooms of neighbouring cells: out of the first room's facing side, a bend in the rock
// between them, into the second's.
Join join_rooms(GenRandom& dice, Dungeon& dungeon, size_t a, size_t b, bool across) {
    const Room& first = dungeon.rooms[a];
    const Room& second = dungeon.rooms[b];
    const std::vector<int32_t> out_at = openings(dungeon, first, across ? 0 : 2);
    const std::vector<int32_t> in_at = openings(dungeon, second, across ? 1 : 3);
    if (out_at.empty() || in_at.empty()) throw std::logic_error("a room side without floor");
    Join join{a, b, {}, {}};
    if (across) {  // b lies east of a
        const Cell out{first.x1 + 1, dice.pick(out_at)};
        const Cell in{second.x0 - 1, dice.pick(in_at)};
        const int32_t bend = dice.range(first.x1 + 2, second.x0 - 2);
        carve_leg(dungeon, {out.x + 1, out.y}, {bend, out.y});
        carve_leg(dungeon, {bend, out.y}, {bend, in.y});
        carve_leg(dungeon, {bend, in.y}, {in.x - 1, in.y});
        join.door_a = out;
        join.door_b = in;
    } else {  // b lies south of a
        const Cell out{dice.pick(out_at), first.y1 + 1};
        const Cell in{dice.pick(in_at), second.y0 - 1};
        const int32_t bend = dice.range(first.y1 + 2, second.y0 - 2);
        carve_leg(dungeon, {out.x, out.y + 1}, {out.x, bend});
        carve_leg(dungeon, {out.x, bend}, {in.x, bend});
        carve_leg(dungeon, {in.x, bend}, {in.x, in.y - 1});
        join.door_a = out;
        join.door_b = in;
    }
    // The doorway tiles are room floor, where a door may stand.
    carve(dungeon, join.door_a, Terrain::Floor);
    carve(dungeon, join.door_b, Terrain::Floor);
    return join;
}

// A random spanning tree of the lattice from the arrival room, grown from the newest room most
// of the time (long branches) and from a random one of the rest (side branches, more leaves).
Edges spanning_tree(GenRandom& dice, const Lattice& lattice, size_t start) {
    Edges edges;
    std::vector<bool> seen(lattice.count(), false);
    std::vector<size_t> growing{start};
    seen[start] = true;
    while (!growing.empty()) {
        const size_t at = dice.chance(60) ? growing.size() - 1 : dice.index(growing.size());
        std::vector<size_t> open;
        for (size_t next : lattice.neighbours(growing[at]))
            if (!seen[next]) open.push_back(next);
        if (open.empty()) {
            growing.erase(growing.begin() + std::ptrdiff_t(at));
            continue;
        }
        const size_t next = dice.pick(open);
        seen[next] = true;
        edges.emplace_back(growing[at], next);
        growing.push_back(next);
    }
    return edges;
}

std::vector<int32_t> steps_from(size_t start, size_t count, const Edges& edges) {
    std::vector<int32_t> steps(count, -1);
    std::deque<size_t> queue{start};
    steps[start] = 0;
    while (!queue.empty()) {
        const size_t room = queue.front();
        queue.pop_front();
        for (const auto& [a, b] : edges) {
            const size_t other = a == room ? b : b == room ? a : count;
            if (other == count || steps[other] >= 0) continue;
            steps[other] = steps[room] + 1;
            queue.push_back(other);
        }
    }
    return steps;
}

std::vector<size_t> leaves_of(const Edges& edges, size_t count, size_t start) {
    std::vector<int32_t> degree(count, 0);
    for (const auto& [a, b] : edges)
        ++degree[a], ++degree[b];
    std::vector<size_t> leaves;
    for (size_t room = 0; room < count; ++room)
        if (degree[room] == 1 && room != start) leaves.push_back(room);
    return leaves;
}

// The roles of one depth's rooms, as lattice indices, and its joins.
struct DepthPlan {
    size_t arrival = 0, stair = 0, lair = 0, vault = 0;
    Edges edges;
    int32_t loops = 0;
};

// The tree, the roles on its leaves (deepest first: the stair or the exit, then the lair; a
// random other one hides the vault) and the loops; none when no tree drawn has leaves enough for
// the roles and room for a loop.
std::optional<DepthPlan> plan_depth(GenRandom& dice, const Lattice& lattice, bool last) {
    const int32_t corner = dice.range(0, 3);
    const size_t arrival =
        lattice.index(corner % 2 ? lattice.columns - 1 : 0, corner / 2 ? lattice.rows - 1 : 0);
    const size_t roles = last ? 3 : 2;
    for (int32_t tree = 0; tree < 32; ++tree) {
        DepthPlan plan;
        plan.arrival = arrival;
        plan.edges = spanning_tree(dice, lattice, arrival);
        std::vector<size_t> leaves = leaves_of(plan.edges, lattice.count(), arrival);
        if (leaves.size() < roles) continue;
        const std::vector<int32_t> steps = steps_from(arrival, lattice.count(), plan.edges);
        std::stable_sort(leaves.begin(), leaves.end(),
                         [&](size_t a, size_t b) { return steps[a] > steps[b]; });
        plan.stair = leaves[0];
        plan.lair = last ? leaves[1] : leaves[0];
        plan.vault = leaves[dice.range(int32_t(roles) - 1, int32_t(leaves.size()) - 1)];

        // Loops: joins between neighbours that the tree left apart, never into a role room.
        auto has_role = [&](size_t room) {
            return room == plan.stair || room == plan.lair || room == plan.vault;
        };
        auto joined = [&](size_t a, size_t b) {
            return std::any_of(plan.edges.begin(), plan.edges.end(), [&](const auto& e) {
                return (e.first == a && e.second == b) || (e.first == b && e.second == a);
            });
        };
        Edges candidates;
        for (size_t room = 0; room < lattice.count(); ++room)
            for (size_t next : lattice.neighbours(room))
                if (room < next && !has_role(room) && !has_role(next) && !joined(room, next))
                    candidates.emplace_back(room, next);
        if (candidates.empty()) continue;
        const int32_t wanted =
            std::max<int32_t>(1, int32_t(lattice.count()) / 4) + dice.range(0, 1);
        for (int32_t k = 0; k < wanted && !candidates.empty(); ++k) {
            const size_t pick = dice.index(candidates.size());
            plan.edges.push_back(candidates[pick]);
            candidates.erase(candidates.begin() + std::ptrdiff_t(pick));
            ++plan.loops;
        }
        return plan;
    }
    return std::nullopt;
}

// The styles of the depths: the first gentle (rooms or shapes), then no style twice in a row.
std::vector<Style> styles_for(GenRandom& dice, size_t count) {
    const std::vector<Style> all{Style::Rooms, Style::Shapes, Style::Caves, Style::Maze};
    std::vector<Style> styles{dice.range(0, 1) ? Style::Shapes : Style::Rooms};
    while (styles.size() < count) {
        Style next = dice.pick(all);
        while (next == styles.back())
            next = dice.pick(all);
        styles.push_back(next);
    }
    return styles;
}

bool lay_out_depth(GenRandom& dice, Dungeon& dungeon, Layout& layout, size_t index) {
    Depth& depth = dungeon.depths[index];
    const bool last = index + 1 == dungeon.depths.size();
    const Lattice lattice{std::max(3, depth.area.width() / kCellWidth),
                          std::max(3, depth.area.height() / kCellHeight)};
    const int32_t cell_w = depth.area.width() / lattice.columns;
    const int32_t cell_h = depth.area.height() / lattice.rows;
    const std::optional<DepthPlan> plan = plan_depth(dice, lattice, last);
    if (!plan) return false;
    const size_t first = dungeon.rooms.size();
    const std::vector<int32_t> steps = steps_from(plan->arrival, lattice.count(), plan->edges);
    for (size_t k = 0; k < lattice.count(); ++k) {
        const bool role = k == plan->stair || k == plan->lair || k == plan->vault;
        Shape shape = role ? Shape::Rect : shape_for(dice, depth.style, k == plan->arrival);
        if (k == plan->vault && dice.chance(50)) shape = Shape::Pillars;
        const Box cell{depth.area.x0 + lattice.column(k) * cell_w,
                       depth.area.y0 + lattice.row(k) * cell_h,
                       depth.area.x0 + (lattice.column(k) + 1) * cell_w - 1,
                       depth.area.y0 + (lattice.row(k) + 1) * cell_h - 1};
        Room room = place_room(dice, cell, shape);
        room.depth = int32_t(index);
        room.steps = steps[k];
        carve_room(dice, dungeon.rows, room);
        dungeon.rooms.push_back(room);
    }
    for (auto [a, b] : plan->edges) {
        if (a > b) std::swap(a, b);
        const bool across = lattice.row(a) == lattice.row(b);
        layout.joins.push_back(join_rooms(dice, dungeon, first + a, first + b, across));
    }
    depth.first_room = first;
    depth.room_count = lattice.count();
    depth.arrival_room = first + plan->arrival;
    depth.stair_room = first + plan->stair;
    depth.vault_room = first + plan->vault;
    depth.loops = plan->loops;
    if (last) {
        dungeon.exit_room = first + plan->stair;
        dungeon.lair_room = first + plan->lair;
    }
    return true;
}

}  // namespace

const char* style_name(Style style) {
    switch (style) {
        case Style::Rooms:
            return "rooms and corridors";
        case Style::Shapes:
            return "shaped rooms";
        case Style::Caves:
            return "caves";
        case Style::Maze:
            return "a maze";
    }
    return "";
}

bool lay_out_depths(GenRandom& dice, Dungeon& dungeon, Layout& layout) {
    const int32_t count = dice.range(kFewestDepths, kMostDepths);
    // Two columns of depths, the descent snaking down through them, one tile of rock between two
    // depths and around the map.
    const int32_t area_w = dice.range(58, 78), area_h = dice.range(40, 48);
    const int32_t lines = (count + 1) / 2;
    dungeon.width = 2 * area_w + 3;
    dungeon.height = lines * area_h + lines + 1;
    dungeon.rows.assign(size_t(dungeon.height), std::string(size_t(dungeon.width), '1'));
    const std::vector<Style> styles = styles_for(dice, size_t(count));
    for (int32_t k = 0; k < count; ++k) {
        const int32_t line = k / 2, column = line % 2 == 0 ? k % 2 : 1 - k % 2;
        Depth depth;
        depth.area.x0 = 1 + column * (area_w + 1);
        depth.area.y0 = 1 + line * (area_h + 1);
        depth.area.x1 = depth.area.x0 + area_w - 1;
        depth.area.y1 = depth.area.y0 + area_h - 1;
        depth.style = styles[size_t(k)];
        dungeon.depths.push_back(depth);
    }
    for (size_t k = 0; k < dungeon.depths.size(); ++k)
        if (!lay_out_depth(dice, dungeon, layout, k)) return false;
    dungeon.start_room = dungeon.depths.front().arrival_room;
    return true;
}

const Join& join_of(const Layout& layout, size_t room) {
    for (const Join& join : layout.joins)
        if (join.a == room || join.b == room) return join;
    throw std::logic_error("a room without a join");
}

Cell doorway_beside(const Join& join, size_t room) {
    return join.a == room ? join.door_a : join.door_b;
}

int32_t side_facing_away(const Dungeon& dungeon, const Layout& layout, size_t room) {
    const Room& r = dungeon.rooms[room];
    const Cell door = doorway_beside(join_of(layout, room), room);
    if (door.x == r.x1 + 1) return 1;
    if (door.x == r.x0 - 1) return 0;
    if (door.y == r.y1 + 1) return 3;
    return 2;
}

}  // namespace grotmere::gen
