// The second stage: what stands in the rooms. The start room is lit and names the goal; the exit
// room lies behind a gate that no key opens, whose lever waits in a pocket of the guardian's lair
// with the guardian in the pocket's only opening; locked doors of the starting pack's keys mark
// the deeper parts; the vault hides behind a secret door; a portal pair joins two far rooms; the
// monsters grow with the rooms' depth, and shooters stand only in rooms with lamps that last.
#include <algorithm>
#include <stdexcept>

#include "gen/dungeon.hpp"
#include "gen/layout.hpp"

namespace grotmere::gen {

namespace {

// A key id that no key of the starting pack carries: the gate opens only by its lever.
int32_t unused_key_id(const Palette& palette) {
    int32_t id = 7;
    while (std::any_of(palette.keys.begin(), palette.keys.end(),
                       [&](const KeyKind& key) { return key.key_id == id; }))
        ++id;
    return id;
}

std::string door_name_for(const std::string& key_name) {
    const std::string suffix = " Key";
    if (key_name.size() > suffix.size() &&
        key_name.compare(key_name.size() - suffix.size(), suffix.size(), suffix) == 0)
        return key_name.substr(0, key_name.size() - suffix.size()) + " Door";
    return key_name + " Door";
}

Cell random_floor(GenRandom& dice, const Room& room) {
    return {dice.range(room.x0, room.x1), dice.range(room.y0, room.y1)};
}

class Populator {
public:
    Populator(GenRandom& dice, Dungeon& dungeon, const Layout& layout, const Palette& palette)
        : dice_(dice), d_(dungeon), layout_(layout), palette_(palette) {
        taken_.assign(size_t(d_.width) * d_.height, false);
    }

    void run() {
        pick_kinds();
        guardian_pocket();
        start_room();
        gate_and_exit();
        doors();
        lights();
        teleports();
        monsters();
    }

private:
    bool taken(Cell c) const { return taken_[size_t(c.y) * d_.width + c.x]; }
    void take(Cell c) { taken_[size_t(c.y) * d_.width + c.x] = true; }

    // A free floor tile of the room's open part (the lair's pocket is not open).
    Cell free_tile(size_t room) {
        const Room& r = open_part(room);
        for (int32_t tries = 0; tries < 200; ++tries) {
            const Cell c = random_floor(dice_, r);
            if (!taken(c) && d_.at(c) == char(Terrain::Floor)) {
                take(c);
                return c;
            }
        }
        for (int32_t y = r.y0; y <= r.y1; ++y)
            for (int32_t x = r.x0; x <= r.x1; ++x)
                if (!taken({x, y}) && d_.at({x, y}) == char(Terrain::Floor)) {
                    take({x, y});
                    return {x, y};
                }
        return r.centre();
    }
    const Room& open_part(size_t room) const {
        return room == d_.lair_room ? lair_open_ : d_.rooms[room];
    }

    void pick_kinds() {
        if (palette_.monsters.empty()) throw std::invalid_argument("the palette has no monster");
        if (palette_.lamps.empty()) throw std::invalid_argument("the palette has no lamp");
        guardian_ = &*std::max_element(
            palette_.monsters.begin(), palette_.monsters.end(),
            [](const MonsterKind& a, const MonsterKind& b) { return a.level < b.level; });
        int32_t lowest = guardian_->level;
        for (const MonsterKind& m : palette_.monsters)
            lowest = std::min(lowest, m.level);
        // The vault's keeper: the richest of the weak.
        for (const MonsterKind& m : palette_.monsters)
            if (m.level <= lowest + 1 && (!keeper_ || m.gold_drop > keeper_->gold_drop))
                keeper_ = &m;
        for (const MonsterKind& m : palette_.monsters)
            if (&m != guardian_ && &m != keeper_) regulars_.push_back(&m);
        if (regulars_.empty()) regulars_.push_back(guardian_);
        lowest_ = regulars_.front()->level;
        highest_ = lowest_;
        for (const MonsterKind* m : regulars_) {
            lowest_ = std::min(lowest_, m->level);
            highest_ = std::max(highest_, m->level);
        }
        for (const LampKind& lamp : palette_.lamps) {
            if (!lamp.lit && !unlit_) unlit_ = &lamp;
            if (lamp.lit && (!brightest_ || lamp.reach > brightest_->reach)) brightest_ = &lamp;
            if (lamp.lit) lit_.push_back(&lamp);
        }
        if (!brightest_) brightest_ = &palette_.lamps.front();
        if (lit_.empty()) lit_.push_back(brightest_);
    }

    // A wall across the lair, one tile in from the side across from its doorway, leaves a pocket of
    // one tile's width; the lever is at the pocket's far end and the guardian in its only opening.
    void guardian_pocket() {
        Room& lair = d_.rooms[d_.lair_room];
        lair_open_ = lair;
        const int32_t side = side_facing_away(d_, layout_, d_.lair_room);
        const bool upright = side < 2;  // the wall runs north to south
        const int32_t wall = side == 0   ? lair.x1 - 1
                             : side == 1 ? lair.x0 + 1
                             : side == 2 ? lair.y1 - 1
                                         : lair.y0 + 1;
        const int32_t pocket = side == 0   ? lair.x1
                               : side == 1 ? lair.x0
                               : side == 2 ? lair.y1
                                           : lair.y0;
        const int32_t from = upright ? lair.y0 : lair.x0, to = upright ? lair.y1 : lair.x1;
        const int32_t opening = (from + to) / 2;
        for (int32_t k = from; k <= to; ++k) {
            const Cell c = upright ? Cell{wall, k} : Cell{k, wall};
            if (k != opening) d_.rows[c.y][c.x] = char(Terrain::Rock);
        }
        d_.guardian = upright ? Cell{wall, opening} : Cell{opening, wall};
        const int32_t far_end = opening - from > to - opening ? from : to;
        d_.lever = upright ? Cell{pocket, far_end} : Cell{far_end, pocket};
        if (side == 0) lair_open_.x1 = wall - 1;
        if (side == 1) lair_open_.x0 = wall + 1;
        if (side == 2) lair_open_.y1 = wall - 1;
        if (side == 3) lair_open_.y0 = wall + 1;
        for (int32_t k = from; k <= to; ++k)
            take(upright ? Cell{pocket, k} : Cell{k, pocket});
        take(d_.guardian);
        d_.rooms[d_.lair_room].lit = true;
    }

    std::string direction_to(Cell from, Cell to) const {
        std::string way;
        if (to.y - from.y > d_.height / 4) way = "SOUTH";
        if (from.y - to.y > d_.height / 4) way = "NORTH";
        if (to.x - from.x > d_.width / 4) way += way.empty() ? "EAST" : "-EAST";
        if (from.x - to.x > d_.width / 4) way += way.empty() ? "WEST" : "-WEST";
        return way.empty() ? "NOT FAR" : "FAR " + way;
    }

    void start_room() {
        const Room& start = d_.rooms[d_.start_room];
        d_.start = start.centre();
        take(d_.start);
        d_.rooms[d_.start_room].lit = true;
        // A plate beside the start names the goal, and lights the room's sconce when there is one.
        Cell plate{d_.start.x + 1, d_.start.y};
        if (!start.contains(plate)) plate = {d_.start.x - 1, d_.start.y};
        take(plate);
        for (int32_t k = 0; k < 2; ++k)
            d_.lamps.push_back({brightest_->name, free_tile(d_.start_room), 3000});
        Lamp target = d_.lamps.front();
        if (unlit_) {
            target = {unlit_->name, free_tile(d_.start_room), -1};
            d_.lamps.push_back(target);
        }
        const Cell exit_centre = d_.rooms[d_.exit_room].centre();
        d_.switches.push_back(
            {"Carved Plate", plate, "trigger", "ACTIVATE|brennt",
             "Cut in the floor: THE STAIR TO DAYLIGHT LIES BEYOND THE BLACK GATE, " +
                 direction_to(d_.start, exit_centre) + ".",
             target.name, target.at});
    }

    const Join& join_of(size_t room) const {
        for (const Join& join : layout_.joins)
            if (join.a == room || join.b == room) return join;
        throw std::logic_error("a room without a join");
    }
    static Cell doorway_beside(const Join& join, size_t room) {
        return join.a == room ? join.door_a : join.door_b;
    }

    void gate_and_exit() {
        d_.gate = doorway_beside(join_of(d_.exit_room), d_.exit_room);
        d_.doors.push_back({"Black Gate", d_.gate, true, unused_key_id(palette_), false});
        d_.exit = free_tile(d_.exit_room);
        d_.switches.push_back({"Stair to Daylight",
                               d_.exit,
                               "exit",
                               "",
                               "You climb the worn stair into the daylight. You have escaped!",
                               "",
                               {-1, -1}});
        d_.switches.push_back({"Bronze Lever", d_.lever, "button",
                               "ACTIVATE|open|DEACTIVATE|locked",
                               "You heave the lever down. Far away the Black Gate swings open.",
                               "Black Gate", d_.gate});
        d_.rooms[d_.exit_room].lit = true;
    }

    bool is_role_join(const Join& join) const {
        for (size_t room : {d_.exit_room, d_.lair_room, d_.vault_room})
            if (join.a == room || join.b == room) return true;
        return false;
    }

    void doors() {
        const Join& vault = join_of(d_.vault_room);
        d_.doors.push_back({"Hidden Door", doorway_beside(vault, d_.vault_room), false, 0, true});
        d_.doors.push_back({"Lair Door", doorway_beside(join_of(d_.lair_room), d_.lair_room)});
        int32_t deepest = 1;
        for (const Room& room : d_.rooms)
            deepest = std::max(deepest, room.depth);
        // Each key of the pack locks a door into a deeper part: the first a third of the way in.
        size_t key = 0;
        std::vector<bool> used(layout_.joins.size(), false);
        for (const KeyKind& kind : palette_.keys) {
            const int32_t wanted = deepest * int32_t(key + 1) / int32_t(palette_.keys.size() + 1);
            for (size_t j = 0; j < layout_.joins.size(); ++j) {
                const Join& join = layout_.joins[j];
                const Room& a = d_.rooms[join.a];
                const Room& b = d_.rooms[join.b];
                if (used[j] || is_role_join(join) || std::max(a.depth, b.depth) != wanted + 1 ||
                    std::abs(a.depth - b.depth) != 1)
                    continue;
                used[j] = true;
                const size_t deeper = a.depth > b.depth ? join.a : join.b;
                d_.doors.push_back(
                    {door_name_for(kind.name), doorway_beside(join, deeper), true, kind.key_id});
                break;
            }
            ++key;
        }
        for (size_t j = 0; j < layout_.joins.size(); ++j) {
            if (used[j] || is_role_join(layout_.joins[j]) || dice_.range(1, 100) > 35) continue;
            const Join& join = layout_.joins[j];
            d_.doors.push_back({dice_.range(0, 1) ? "Oak Door" : "Wooden Door", join.door_a});
        }
    }

    void lights() {
        for (size_t room = 0; room < d_.rooms.size(); ++room) {
            Room& r = d_.rooms[room];
            if (room == d_.start_room) continue;
            const bool lasting = room == d_.exit_room || room == d_.lair_room;
            if (!lasting && (room == d_.vault_room || dice_.range(1, 100) > 50)) continue;
            r.lit = true;
            const int32_t area = (r.x1 - r.x0 + 1) * (r.y1 - r.y0 + 1);
            const int32_t count = area > 60 ? 2 : 1;
            for (int32_t k = 0; k < count; ++k) {
                const LampKind& kind = *lit_[size_t(dice_.range(0, int32_t(lit_.size()) - 1))];
                d_.lamps.push_back(
                    {kind.name, free_tile(room), lasting ? -1 : dice_.range(6, 30) * 100});
            }
        }
    }

    void teleports() {
        std::vector<size_t> rooms;
        for (size_t room = 0; room < d_.rooms.size(); ++room)
            if (room != d_.start_room && room != d_.exit_room && room != d_.lair_room &&
                room != d_.vault_room)
                rooms.push_back(room);
        if (rooms.size() < 2) return;
        std::stable_sort(rooms.begin(), rooms.end(),
                         [&](size_t a, size_t b) { return d_.rooms[a].depth < d_.rooms[b].depth; });
        const size_t near = rooms.front(), far = rooms.back();
        const Cell a = free_tile(near), b = free_tile(far);
        const Cell land_a = free_tile(near), land_b = free_tile(far);
        d_.teleports.push_back({"Shimmering Portal", a, land_b});
        d_.teleports.push_back({"Shimmering Portal", b, land_a});
    }

    const MonsterKind& kind_for(int32_t level, bool lit) {
        std::vector<const MonsterKind*> fits;
        int32_t best = -1;
        for (const MonsterKind* m : regulars_) {
            if (m->attack_range > 1 && !lit) continue;
            if (m->level <= level) best = std::max(best, m->level);
        }
        for (const MonsterKind* m : regulars_)
            if (m->level == best && (m->attack_range <= 1 || lit)) fits.push_back(m);
        if (fits.empty()) return *regulars_.front();
        return *fits[size_t(dice_.range(0, int32_t(fits.size()) - 1))];
    }

    void monsters() {
        int32_t deepest = 1;
        for (const Room& room : d_.rooms)
            deepest = std::max(deepest, room.depth);
        std::vector<size_t> order(d_.rooms.size());
        for (size_t k = 0; k < order.size(); ++k)
            order[k] = k;
        std::stable_sort(order.begin(), order.end(),
                         [&](size_t a, size_t b) { return d_.rooms[a].depth < d_.rooms[b].depth; });
        for (size_t room : order) {
            if (room == d_.start_room || room == d_.exit_room) continue;
            if (room == d_.lair_room) continue;
            if (room == d_.vault_room) {
                d_.spawns.push_back({keeper_->name, free_tile(room)});
                continue;
            }
            const Room& r = d_.rooms[room];
            // The first rooms meet the weakest; the level climbs to the strongest by the end.
            const int32_t level =
                lowest_ + (highest_ - lowest_) * (r.depth - 1) / std::max(1, deepest - 1);
            const int32_t area = (r.x1 - r.x0 + 1) * (r.y1 - r.y0 + 1);
            const int32_t count = 1 + (area >= 40) + (area >= 90);
            for (int32_t k = 0; k < count; ++k) {
                const MonsterKind& kind = kind_for(level, r.lit);
                if (kind.attack_range > 1)
                    d_.lamps.push_back({brightest_->name, free_tile(room), -1});
                d_.spawns.push_back({kind.name, free_tile(room)});
            }
        }
        // The guardian is the route's last fight.
        d_.spawns.push_back({guardian_->name, d_.guardian});
    }

    GenRandom& dice_;
    Dungeon& d_;
    const Layout& layout_;
    const Palette& palette_;
    std::vector<bool> taken_;
    Room lair_open_;
    const MonsterKind* guardian_ = nullptr;
    const MonsterKind* keeper_ = nullptr;
    std::vector<const MonsterKind*> regulars_;
    int32_t lowest_ = 1, highest_ = 1;
    const LampKind* unlit_ = nullptr;
    const LampKind* brightest_ = nullptr;
    std::vector<const LampKind*> lit_;
};

uint64_t sub_seed(int32_t seed, int32_t attempt) {
    // Each attempt of one seed starts the generator elsewhere, the same way every time.
    return uint64_t(uint32_t(seed)) << 32 | uint32_t(attempt);
}

}  // namespace

std::optional<Dungeon> lay_out_dungeon(int32_t seed, int32_t attempt, const Palette& palette) {
    GenRandom dice(sub_seed(seed, attempt));
    std::optional<Dungeon> dungeon(std::in_place);
    dungeon->seed = seed;
    dungeon->attempt = attempt;
    Layout layout;
    if (lay_out_rooms(dice, *dungeon, layout)) {
        dungeon->loops = layout.loops;
        Populator(dice, *dungeon, layout, palette).run();
    } else {
        dungeon.reset();
    }
    return dungeon;
}

}  // namespace grotmere::gen
