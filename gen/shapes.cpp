// The shapes a room's floor takes within its box. Each keeps floor on every side of the box (the
// middle row and column reach all four sides at least), so a doorway just outside the box always
// leads in (a maze's sides are its own tiles), and every floor tile of a room can be walked to
// from every other.
#include <algorithm>
#include <deque>

#include "gen/layout.hpp"

namespace grotmere::gen {

namespace {

constexpr char kFloor = char(Terrain::Floor);
constexpr char kRock = char(Terrain::Rock);

void fill(std::vector<std::string>& rows, const Box& box, char terrain) {
    for (int32_t y = box.y0; y <= box.y1; ++y)
        for (int32_t x = box.x0; x <= box.x1; ++x)
            rows[y][x] = terrain;
}

// A rectangle with a pillar on every second tile inside its rim.
void pillars(std::vector<std::string>& rows, const Box& box) {
    fill(rows, box, kFloor);
    const Cell middle = box.centre();
    for (int32_t y = box.y0 + 2; y <= box.y1 - 2; y += 2)
        for (int32_t x = box.x0 + 2; x <= box.x1 - 2; x += 2)
            if (x != middle.x && y != middle.y) rows[y][x] = kRock;
}

// Two bars through the middle, the arms a third of the box wide.
void cross(std::vector<std::string>& rows, const Box& box) {
    const Cell middle = box.centre();
    const int32_t half_w = std::max(1, box.width() / 6), half_h = std::max(1, box.height() / 6);
    fill(rows, {box.x0, middle.y - half_h, box.x1, middle.y + half_h}, kFloor);
    fill(rows, {middle.x - half_w, box.y0, middle.x + half_w, box.y1}, kFloor);
}

// The ellipse the box holds: in doubled coordinates around the box's middle, a tile is in when
// (X / RX)^2 + (Y / RY)^2 <= 1.
void circle(std::vector<std::string>& rows, const Box& box) {
    const int64_t rx = box.x1 - box.x0, ry = box.y1 - box.y0;
    for (int32_t y = box.y0; y <= box.y1; ++y)
        for (int32_t x = box.x0; x <= box.x1; ++x) {
            const int64_t dx = 2 * x - box.x0 - box.x1, dy = 2 * y - box.y0 - box.y1;
            if (dx * dx * ry * ry + dy * dy * rx * rx <= rx * rx * ry * ry + rx * ry)
                rows[y][x] = kFloor;
        }
    const Cell middle = box.centre();
    fill(rows, {box.x0, middle.y, box.x1, middle.y}, kFloor);
    fill(rows, {middle.x, box.y0, middle.x, box.y1}, kFloor);
}

int32_t rock_around(const std::vector<std::string>& rows, const Box& box, Cell c) {
    int32_t rock = 0;
    for (int32_t dy = -1; dy <= 1; ++dy)
        for (int32_t dx = -1; dx <= 1; ++dx) {
            const Cell n{c.x + dx, c.y + dy};
            rock += !box.contains(n) || rows[n.y][n.x] == kRock;
        }
    return rock;
}

// Keeps the floor that can be walked to from `from`; the rest turns back to rock.
void keep_reached(std::vector<std::string>& rows, const Box& box, Cell from) {
    std::vector<bool> seen(size_t(box.width()) * box.height(), false);
    auto index = [&](Cell c) { return size_t(c.y - box.y0) * box.width() + (c.x - box.x0); };
    std::deque<Cell> queue{from};
    seen[index(from)] = true;
    while (!queue.empty()) {
        const Cell c = queue.front();
        queue.pop_front();
        for (const Cell n : {Cell{c.x + 1, c.y}, {c.x - 1, c.y}, {c.x, c.y + 1}, {c.x, c.y - 1}})
            if (box.contains(n) && rows[n.y][n.x] == kFloor && !seen[index(n)]) {
                seen[index(n)] = true;
                queue.push_back(n);
            }
    }
    for (int32_t y = box.y0; y <= box.y1; ++y)
        for (int32_t x = box.x0; x <= box.x1; ++x)
            if (!seen[index({x, y})]) rows[y][x] = kRock;
}

// A cave grown, not drawn: rock and floor strewn at random, then smoothed four times (a tile turns
// to rock when five of the nine around it, itself included, are rock, the box's outside counting
// as rock). A cross of floor through the middle joins the pockets the smoothing left, and what it
// cannot reach is filled in.
void cave(GenRandom& dice, std::vector<std::string>& rows, const Box& box) {
    for (int32_t y = box.y0; y <= box.y1; ++y)
        for (int32_t x = box.x0; x <= box.x1; ++x)
            rows[y][x] = dice.chance(62) ? kFloor : kRock;
    for (int32_t round = 0; round < 4; ++round) {
        std::vector<std::string> next = rows;
        for (int32_t y = box.y0; y <= box.y1; ++y)
            for (int32_t x = box.x0; x <= box.x1; ++x)
                next[y][x] = rock_around(rows, box, {x, y}) >= 5 ? kRock : kFloor;
        rows = std::move(next);
    }
    const Cell middle = box.centre();
    fill(rows, {box.x0, middle.y, box.x1, middle.y}, kFloor);
    fill(rows, {middle.x, box.y0, middle.x, box.y1}, kFloor);
    keep_reached(rows, box, middle);
}

// A maze by a random depth-first walk over the tiles of even offset (the box's sides are odd, so
// they hold maze tiles), with one wall in six between neighbours knocked out afterwards so that
// the maze has more than one way round.
void maze(GenRandom& dice, std::vector<std::string>& rows, const Box& box) {
    const int32_t columns = (box.width() + 1) / 2, lines = (box.height() + 1) / 2;
    auto tile = [&](int32_t i, int32_t j) { return Cell{box.x0 + 2 * i, box.y0 + 2 * j}; };
    std::vector<bool> seen(size_t(columns) * lines, false);
    std::vector<std::pair<int32_t, int32_t>> path{{columns / 2, lines / 2}};
    seen[size_t(lines / 2) * columns + columns / 2] = true;
    rows[tile(columns / 2, lines / 2).y][tile(columns / 2, lines / 2).x] = kFloor;
    const int32_t steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    while (!path.empty()) {
        const auto [i, j] = path.back();
        std::vector<int32_t> open;
        for (int32_t s = 0; s < 4; ++s) {
            const int32_t ni = i + steps[s][0], nj = j + steps[s][1];
            if (ni >= 0 && nj >= 0 && ni < columns && nj < lines &&
                !seen[size_t(nj) * columns + ni])
                open.push_back(s);
        }
        if (open.empty()) {
            path.pop_back();
            continue;
        }
        const int32_t s = dice.pick(open);
        const int32_t ni = i + steps[s][0], nj = j + steps[s][1];
        seen[size_t(nj) * columns + ni] = true;
        const Cell from = tile(i, j), to = tile(ni, nj);
        rows[(from.y + to.y) / 2][(from.x + to.x) / 2] = kFloor;
        rows[to.y][to.x] = kFloor;
        path.emplace_back(ni, nj);
    }
    for (int32_t y = box.y0; y <= box.y1; ++y)
        for (int32_t x = box.x0; x <= box.x1; ++x) {
            const bool between_across = (x - box.x0) % 2 == 1 && (y - box.y0) % 2 == 0;
            const bool between_down = (x - box.x0) % 2 == 0 && (y - box.y0) % 2 == 1;
            if ((between_across || between_down) && dice.chance(16)) rows[y][x] = kFloor;
        }
}

}  // namespace

void carve_room(GenRandom& dice, std::vector<std::string>& rows, const Room& room) {
    const Box box = room.box();
    switch (room.shape) {
        case Shape::Rect:
            return fill(rows, box, kFloor);
        case Shape::Pillars:
            return pillars(rows, box);
        case Shape::Cross:
            return cross(rows, box);
        case Shape::Circle:
            return circle(rows, box);
        case Shape::Cave:
            return cave(dice, rows, box);
        case Shape::Maze:
            return maze(dice, rows, box);
    }
}

}  // namespace grotmere::gen
