// The dungeon generator: from a seed and a palette (the monsters, lamps and keys a data folder
// offers), a dungeon in the game's own terms: a grid of rock, room floor and corridor, and the
// records of the map file (lamps, doors, switches, teleports, monster spawns) as plain values.
// A dungeon is a descent of depths, each a rectangle of the grid of its own, joined only by stairs
// down (teleports, which carry whoever steps on them one way). It knows no rule: it writes text
// that the game reads. What it promises of every dungeon it hands over is checked by
// verify_dungeon (dungeon_check.hpp) before it leaves the generator.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace grotmere::gen {

// Changes whenever the same seed would give another dungeon: recordings of generated games name
// it, and a recording made by another version cannot be replayed on a regenerated dungeon.
inline constexpr int32_t kGeneratorVersion = 2;

inline constexpr int32_t kFewestDepths = 4, kMostDepths = 6;
inline constexpr int32_t kLargestSide = 256;  // the game's grid

// What the data folder offers, read from its prototypes.
struct MonsterKind {
    std::string name;
    int32_t level = 0;
    int32_t attack_range = 1;  // above 1 a shooter
    int32_t gold_drop = 0;
    int32_t xp = 0;
};
struct LampKind {
    std::string name;
    int32_t reach = 0;
    bool lit = true;  // a lamp that is not lit waits for a switch
};
struct KeyKind {
    std::string name;
    int32_t key_id = 0;
};
struct Palette {
    std::vector<MonsterKind> monsters;
    std::vector<LampKind> lamps;  // lamps that stand on a map (never found as treasure)
    std::vector<KeyKind> keys;    // the keys of the starting pack
};

struct Cell {
    int32_t x = 0, y = 0;
    friend bool operator==(const Cell&, const Cell&) = default;
};

struct Box {
    int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // inclusive
    bool contains(Cell c) const { return c.x >= x0 && c.x <= x1 && c.y >= y0 && c.y <= y1; }
    Cell centre() const { return {(x0 + x1) / 2, (y0 + y1) / 2}; }
    int32_t width() const { return x1 - x0 + 1; }
    int32_t height() const { return y1 - y0 + 1; }
};

// How a room's floor is cut out of its box.
enum class Shape { Rect, Pillars, Cross, Circle, Cave, Maze };
// How a depth is laid out; every depth also has a vault.
enum class Style { Rooms, Shapes, Caves, Maze };
const char* style_name(Style style);

struct Room {
    int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // the box the floor lies in, inclusive
    Shape shape = Shape::Rect;
    int32_t depth = 0;  // the depth it lies on, 0 the first
    int32_t steps = 0;  // joins from its depth's arrival room
    bool lit = false;
    Box box() const { return {x0, y0, x1, y1}; }
    bool contains(Cell c) const { return box().contains(c); }
    Cell centre() const { return box().centre(); }
};

struct Depth {
    Box area;  // every tile of the depth lies in it
    Style style = Style::Rooms;
    size_t first_room = 0, room_count = 0;
    size_t arrival_room = 0, stair_room = 0, vault_room = 0;
    Cell arrival;           // the start, or where the stair from above lands
    Cell stair{-1, -1};     // the stair down; none on the last depth
    int32_t loops = 0;      // joins of rooms beyond a tree: each makes a loop
    int32_t top_level = 0;  // the strongest regular monster's level
};

struct Lamp {
    std::string name;
    Cell at;
    int32_t burn = -1;  // turns; -1 burns for ever (written as no brenndauer)
};
struct Door {
    std::string name;
    Cell at;
    bool locked = false;
    int32_t key_id = 0;
    bool secret = false;
};
struct Switch {
    std::string name;
    Cell at;
    std::string art;  // "trigger", "button" or "exit"
    std::string wirkung;
    std::string comment;
    std::string target_name;
    Cell target{-1, -1};
};
struct Teleport {
    std::string name;
    Cell at, to;
};
struct Spawn {
    std::string name;
    Cell at;
    int32_t level = 0;
};

enum class Terrain : char { Floor = '0', Rock = '1', Corridor = '2' };

struct Dungeon {
    int32_t seed = 0;
    int32_t attempt = 0;  // sub-seeds tried before this one was handed over
    int32_t width = 0, height = 0;
    std::vector<std::string> rows;  // height rows of width terrain characters
    std::vector<Room> rooms;
    std::vector<Depth> depths;
    std::vector<int32_t> pack_keys;  // the key_ids the player starts with
    size_t start_room = 0, exit_room = 0, lair_room = 0;
    Cell start;
    Cell guardian, lever, gate, exit;
    std::vector<Lamp> lamps;
    std::vector<Door> doors;
    std::vector<Switch> switches;
    std::vector<Teleport> teleports;
    std::vector<Spawn> spawns;  // in the order the route meets them

    char at(Cell c) const { return rows[c.y][c.x]; }
    bool inside(Cell c) const { return c.x >= 0 && c.y >= 0 && c.x < width && c.y < height; }
    bool open(Cell c) const { return inside(c) && at(c) != char(Terrain::Rock); }
    // The depth whose area holds the cell, or -1.
    int32_t depth_of(Cell c) const;
    int32_t loops() const;
};

// One dungeon from one sub-seed, unchecked; none when this sub-seed's rooms cannot take every
// role. Throws std::invalid_argument for a palette that cannot make a dungeon (no monster, no
// lamp). The game's random generator is neither read nor written.
std::optional<Dungeon> lay_out_dungeon(int32_t seed, int32_t attempt, const Palette& palette);

// The map file's text: the size, the grid, the depths (as comments, see depth_plan.hpp) and the
// records.
std::string map_file_text(const Dungeon& dungeon);

}  // namespace grotmere::gen
