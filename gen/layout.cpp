#include "gen/layout.hpp"

#include <algorithm>
#include <deque>

namespace grotmere::gen {

namespace {

// A lattice cell is at least this big, so that two rooms in neighbouring cells keep four tiles
// of rock between them for the corridor's bend, and a corridor never touches a room's floor but
// at its doorway.
constexpr int32_t kCellWidth = 22;
constexpr int32_t kCellHeight = 13;

struct Lattice {
    int32_t columns = 0, rows = 0;
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

Room place_room(GenRandom& dice, int32_t cell_x, int32_t cell_y, int32_t cell_w, int32_t cell_h) {
    Room room;
    const int32_t w = dice.range(5, std::max(5, cell_w - 6));
    const int32_t h = dice.range(4, std::max(4, cell_h - 5));
    room.x0 = cell_x + 2 + dice.range(0, cell_w - 4 - w);
    room.y0 = cell_y + 2 + dice.range(0, cell_h - 4 - h);
    room.x1 = room.x0 + w - 1;
    room.y1 = room.y0 + h - 1;
    return room;
}

void carve(Dungeon& dungeon, Cell c, Terrain terrain) {
    char& tile = dungeon.rows[c.y][c.x];
    if (tile == char(Terrain::Rock)) tile = char(terrain);
}

// A straight leg from one tile to another in one row or column, doorways excepted.
void carve_leg(Dungeon& dungeon, Cell from, Cell to) {
    const int32_t dx = (to.x > from.x) - (to.x < from.x), dy = (to.y > from.y) - (to.y < from.y);
    for (Cell c = from;; c = {c.x + dx, c.y + dy}) {
        carve(dungeon, c, Terrain::Corridor);
        if (c == to) break;
    }
}

// Joins two rooms of neighbouring cells: out of the first room's facing wall, a bend in the rock
// between them, into the second's.
Join join_rooms(GenRandom& dice, Dungeon& dungeon, size_t a, size_t b, bool across) {
    const Room& first = dungeon.rooms[a];
    const Room& second = dungeon.rooms[b];
    Join join{a, b, {}, {}};
    if (across) {  // b lies east of a
        const Cell out{first.x1 + 1, dice.range(first.y0, first.y1)};
        const Cell in{second.x0 - 1, dice.range(second.y0, second.y1)};
        const int32_t bend = dice.range(first.x1 + 2, second.x0 - 2);
        carve_leg(dungeon, {out.x + 1, out.y}, {bend, out.y});
        carve_leg(dungeon, {bend, out.y}, {bend, in.y});
        carve_leg(dungeon, {bend, in.y}, {in.x - 1, in.y});
        join.door_a = out;
        join.door_b = in;
    } else {  // b lies south of a
        const Cell out{dice.range(first.x0, first.x1), first.y1 + 1};
        const Cell in{dice.range(second.x0, second.x1), second.y0 - 1};
        const int32_t bend = dice.range(first.y1 + 2, second.y0 - 2);
        carve_leg(dungeon, {out.x, out.y + 1}, {out.x, bend});
        carve_leg(dungeon, {out.x, bend}, {in.x, bend});
        carve_leg(dungeon, {in.x, bend}, {in.x, in.y - 1});
        join.door_a = out;
        join.door_b = in;
    }
    // The doorway tiles stay room floor, where a door may stand.
    carve(dungeon, join.door_a, Terrain::Floor);
    carve(dungeon, join.door_b, Terrain::Floor);
    return join;
}

Join join_neighbours(GenRandom& dice, Dungeon& dungeon, const Lattice& lattice, size_t a,
                     size_t b) {
    if (a > b) std::swap(a, b);
    const bool across = lattice.row(a) == lattice.row(b);
    return join_rooms(dice, dungeon, a, b, across);
}

// A random depth-first spanning tree of the lattice from the start room: long branches, and
// leaves at their ends.
std::vector<std::pair<size_t, size_t>> spanning_tree(GenRandom& dice, const Lattice& lattice,
                                                     size_t start) {
    std::vector<std::pair<size_t, size_t>> edges;
    std::vector<bool> seen(size_t(lattice.columns) * lattice.rows, false);
    std::vector<size_t> path{start};
    seen[start] = true;
    while (!path.empty()) {
        std::vector<size_t> open;
        for (size_t next : lattice.neighbours(path.back()))
            if (!seen[next]) open.push_back(next);
        if (open.empty()) {
            path.pop_back();
            continue;
        }
        const size_t next = open[size_t(dice.range(0, int32_t(open.size()) - 1))];
        seen[next] = true;
        edges.emplace_back(path.back(), next);
        path.push_back(next);
    }
    return edges;
}

std::vector<int32_t> depths_from(size_t start, size_t count,
                                 const std::vector<std::pair<size_t, size_t>>& edges) {
    std::vector<int32_t> depth(count, -1);
    std::deque<size_t> queue{start};
    depth[start] = 0;
    while (!queue.empty()) {
        const size_t room = queue.front();
        queue.pop_front();
        for (const auto& [a, b] : edges) {
            const size_t other = a == room ? b : b == room ? a : count;
            if (other == count || depth[other] >= 0) continue;
            depth[other] = depth[room] + 1;
            queue.push_back(other);
        }
    }
    return depth;
}

std::vector<size_t> leaves_of(const std::vector<std::pair<size_t, size_t>>& edges, size_t count,
                              size_t start) {
    std::vector<int32_t> degree(count, 0);
    for (const auto& [a, b] : edges)
        ++degree[a], ++degree[b];
    std::vector<size_t> leaves;
    for (size_t room = 0; room < count; ++room)
        if (degree[room] == 1 && room != start) leaves.push_back(room);
    return leaves;
}

}  // namespace

bool lay_out_rooms(GenRandom& dice, Dungeon& dungeon, Layout& layout) {
    dungeon.width = dice.range(kSmallestWidth, kLargestWidth);
    dungeon.height = dice.range(kSmallestHeight, kLargestHeight);
    dungeon.rows.assign(size_t(dungeon.height), std::string(size_t(dungeon.width), '1'));
    const Lattice lattice{std::max(3, dungeon.width / kCellWidth),
                          std::max(3, dungeon.height / kCellHeight)};
    const int32_t cell_w = (dungeon.width - 2) / lattice.columns;
    const int32_t cell_h = (dungeon.height - 2) / lattice.rows;
    const size_t count = size_t(lattice.columns) * lattice.rows;
    for (size_t room = 0; room < count; ++room) {
        dungeon.rooms.push_back(place_room(dice, 1 + lattice.column(room) * cell_w,
                                           1 + lattice.row(room) * cell_h, cell_w, cell_h));
        const Room& r = dungeon.rooms.back();
        for (int32_t y = r.y0; y <= r.y1; ++y)
            for (int32_t x = r.x0; x <= r.x1; ++x)
                dungeon.rows[y][x] = char(Terrain::Floor);
    }

    const int32_t corner = dice.range(0, 3);
    dungeon.start_room =
        lattice.index(corner % 2 ? lattice.columns - 1 : 0, corner / 2 ? lattice.rows - 1 : 0);
    // The leaves, deepest first: the exit, then the lair; a random other one hides the vault. A
    // depth-first tree has few leaves, so a tree with too few for the roles is drawn again.
    std::vector<std::pair<size_t, size_t>> edges;
    std::vector<size_t> leaves;
    for (int32_t tree = 0; tree < 8 && leaves.size() < 3; ++tree) {
        edges = spanning_tree(dice, lattice, dungeon.start_room);
        leaves = leaves_of(edges, count, dungeon.start_room);
    }
    if (leaves.size() < 3) return false;
    const std::vector<int32_t> tree_depth = depths_from(dungeon.start_room, count, edges);
    std::stable_sort(leaves.begin(), leaves.end(),
                     [&](size_t a, size_t b) { return tree_depth[a] > tree_depth[b]; });
    dungeon.exit_room = leaves[0];
    dungeon.lair_room = leaves[1];
    dungeon.vault_room = leaves[size_t(dice.range(2, int32_t(leaves.size()) - 1))];

    // Loops: joins between neighbours that the tree left apart, never into a room with a role.
    auto has_role = [&](size_t room) {
        return room == dungeon.exit_room || room == dungeon.lair_room || room == dungeon.vault_room;
    };
    auto joined = [&](size_t a, size_t b) {
        return std::any_of(edges.begin(), edges.end(), [&](const auto& e) {
            return (e.first == a && e.second == b) || (e.first == b && e.second == a);
        });
    };
    std::vector<std::pair<size_t, size_t>> candidates;
    for (size_t room = 0; room < count; ++room)
        for (size_t next : lattice.neighbours(room))
            if (room < next && !has_role(room) && !has_role(next) && !joined(room, next))
                candidates.emplace_back(room, next);
    const int32_t wanted = std::max<int32_t>(1, int32_t(count) / 5);
    for (int32_t k = 0; k < wanted && !candidates.empty(); ++k) {
        const size_t pick = size_t(dice.range(0, int32_t(candidates.size()) - 1));
        edges.push_back(candidates[pick]);
        candidates.erase(candidates.begin() + std::ptrdiff_t(pick));
        ++layout.loops;
    }

    const std::vector<int32_t> depth = depths_from(dungeon.start_room, count, edges);
    for (size_t room = 0; room < count; ++room)
        dungeon.rooms[room].depth = depth[room];
    for (const auto& [a, b] : edges)
        layout.joins.push_back(join_neighbours(dice, dungeon, lattice, a, b));
    return true;
}

int32_t side_facing_away(const Dungeon& dungeon, const Layout& layout, size_t room) {
    const Room& r = dungeon.rooms[room];
    for (const Join& join : layout.joins) {
        if (join.a != room && join.b != room) continue;
        const Cell door = join.a == room ? join.door_a : join.door_b;
        if (door.x == r.x1 + 1) return 1;
        if (door.x == r.x0 - 1) return 0;
        if (door.y == r.y1 + 1) return 3;
        return 2;
    }
    return 0;
}

}  // namespace grotmere::gen
