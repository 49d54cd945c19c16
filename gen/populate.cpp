// The second stage: what stands in the rooms. The start room is lit and names the goal; each
// depth's stair down stands in a room behind a locked door, opened by a key of the starting pack
// or by a lever found elsewhere on the same depth; each depth hides a vault behind a secret or a
// locked door, its keeper stronger than the depth's other monsters; the exit room of the last
// depth lies behind a gate that no key opens, whose lever waits in a pocket of the guardian's lair
// with the guardian in the pocket's only opening; a portal pair joins two far rooms of one depth.
// The monsters grow with the descent, the lamps grow fewer, and shooters stand only in rooms with
// lamps that last.
#include <algorithm>
#include <stdexcept>

#include "gen/dungeon.hpp"
#include "gen/layout.hpp"

namespace grotmere::gen {

namespace {

// A key id that no key of the starting pack carries, above `above`: such a door opens only by
// its lever.
int32_t unused_key_id(const Palette& palette, int32_t above) {
    int32_t id = above + 1;
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

std::string number_word(size_t n) {
    static const char* const words[] = {"NO",   "ONE", "TWO",   "THREE", "FOUR",
                                        "FIVE", "SIX", "SEVEN", "EIGHT"};
    return n < 9 ? words[n] : std::to_string(n);
}

class Populator {
public:
    Populator(GenRandom& dice, Dungeon& dungeon, const Layout& layout, const Palette& palette)
        : dice_(dice), d_(dungeon), layout_(layout), palette_(palette) {
        taken_.assign(size_t(d_.width) * d_.height, false);
        for (const Join& join : layout_.joins) {
            take(join.door_a);
            take(join.door_b);
        }
    }

    void run() {
        pick_kinds();
        for (const KeyKind& key : palette_.keys)
            d_.pack_keys.push_back(key.key_id);
        guardian_pocket();
        start_room();
        arrivals();
        stairs();
        gate_and_exit();
        vaults();
        doors();
        lights();
        portals();
        monsters();
    }

private:
    bool taken(Cell c) const { return taken_[size_t(c.y) * d_.width + c.x]; }
    void take(Cell c) { taken_[size_t(c.y) * d_.width + c.x] = true; }
    bool last(size_t depth) const { return depth + 1 == d_.depths.size(); }

    // A free floor tile of the room's open part (the lair's pocket is not open).
    Cell free_tile(size_t room) {
        const Room& r = open_part(room);
        for (int32_t tries = 0; tries < 200; ++tries) {
            const Cell c{dice_.range(r.x0, r.x1), dice_.range(r.y0, r.y1)};
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
        throw std::logic_error("a room without a free tile");
    }
    // Whether a teleport on the tile cuts no way in two: it has no neighbour outside its room, and
    // the rest of the room's floor stays joined without it.
    bool cuts_nothing(const Room& r, Cell c) const {
        Cell from{-1, -1};
        int32_t floor = 0;
        for (int32_t y = r.y0; y <= r.y1; ++y)
            for (int32_t x = r.x0; x <= r.x1; ++x)
                if (d_.at({x, y}) == char(Terrain::Floor) && !(Cell{x, y} == c)) {
                    ++floor;
                    from = {x, y};
                }
        for (const Cell n : {Cell{c.x + 1, c.y}, {c.x - 1, c.y}, {c.x, c.y + 1}, {c.x, c.y - 1}})
            if (!r.contains(n) && d_.open(n)) return false;
        if (floor == 0) return false;
        std::vector<bool> seen(size_t(r.x1 - r.x0 + 1) * (r.y1 - r.y0 + 1), false);
        auto index = [&](Cell n) { return size_t(n.y - r.y0) * (r.x1 - r.x0 + 1) + (n.x - r.x0); };
        std::vector<Cell> stack{from};
        seen[index(from)] = true;
        int32_t reached = 0;
        while (!stack.empty()) {
            const Cell at = stack.back();
            stack.pop_back();
            ++reached;
            for (const Cell n :
                 {Cell{at.x + 1, at.y}, {at.x - 1, at.y}, {at.x, at.y + 1}, {at.x, at.y - 1}})
                if (r.contains(n) && !(n == c) && d_.at(n) == char(Terrain::Floor) &&
                    !seen[index(n)]) {
                    seen[index(n)] = true;
                    stack.push_back(n);
                }
        }
        return reached == floor;
    }

    // A free tile where a teleport cuts no way in two.
    Cell aside_tile(size_t room) {
        const Room& r = open_part(room);
        for (int32_t tries = 0; tries < 400; ++tries) {
            const Cell c{dice_.range(r.x0, r.x1), dice_.range(r.y0, r.y1)};
            if (!taken(c) && d_.at(c) == char(Terrain::Floor) && cuts_nothing(r, c)) {
                take(c);
                return c;
            }
        }
        throw std::logic_error("a room without a tile aside");
    }
    const Room& open_part(size_t room) const {
        return room == d_.lair_room ? lair_open_ : d_.rooms[room];
    }
    int32_t floor_of(size_t room) const {
        const Room& r = d_.rooms[room];
        int32_t count = 0;
        for (int32_t y = r.y0; y <= r.y1; ++y)
            for (int32_t x = r.x0; x <= r.x1; ++x)
                count += d_.at({x, y}) == char(Terrain::Floor);
        return count;
    }
    bool has_role(size_t room) const {
        const Depth& depth = d_.depths[size_t(d_.rooms[room].depth)];
        return room == depth.arrival_room || room == depth.stair_room || room == depth.vault_room ||
               room == d_.lair_room;
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
        // The first vault's keeper: the richest of the weak.
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
        lair.lit = true;
    }

    void start_room() {
        const Room& start = d_.rooms[d_.start_room];
        d_.start = start.centre();
        d_.depths.front().arrival = d_.start;
        take(d_.start);
        d_.rooms[d_.start_room].lit = true;
        // A plate beside the start names the goal, and lights the room's sconce when there is one.
        Cell plate{d_.start.x + 1, d_.start.y};
        if (!start.contains(plate) || d_.at(plate) != char(Terrain::Floor))
            plate = {d_.start.x - 1, d_.start.y};
        take(plate);
        for (int32_t k = 0; k < 2; ++k)
            d_.lamps.push_back({brightest_->name, free_tile(d_.start_room), 3000});
        Lamp target = d_.lamps.front();
        if (unlit_) {
            target = {unlit_->name, free_tile(d_.start_room), -1};
            d_.lamps.push_back(target);
        }
        d_.switches.push_back({"Carved Plate", plate, "trigger", "ACTIVATE|brennt",
                               "Cut in the floor: THE STAIR TO DAYLIGHT LIES " +
                                   number_word(d_.depths.size() - 1) +
                                   " DEPTHS DOWN, BEYOND THE BLACK GATE.",
                               target.name, target.at});
    }

    // Below the first depth the stair from above lands in the middle of the arrival room, which is
    // lit for a while and holds no monster.
    void arrivals() {
        for (size_t k = 1; k < d_.depths.size(); ++k) {
            Depth& depth = d_.depths[k];
            depth.arrival = d_.rooms[depth.arrival_room].centre();
            take(depth.arrival);
        }
    }

    // The room of the depth, neither a role room nor the arrival, farthest from the arrival.
    size_t farthest_plain_room(size_t depth_index) {
        const Depth& depth = d_.depths[depth_index];
        size_t best = depth.arrival_room;
        for (size_t room = depth.first_room; room < depth.first_room + depth.room_count; ++room)
            if (!has_role(room) &&
                (best == depth.arrival_room || d_.rooms[room].steps > d_.rooms[best].steps))
                best = room;
        return best;
    }

    // A key id for a door that only a lever opens: no key of the pack carries it.
    int32_t lever_key_id() { return next_lever_id_ = unused_key_id(palette_, next_lever_id_); }

    // A locked door whose key is a lever on the same depth, in the room farthest from the arrival.
    void lever_for(const Door& door, size_t depth_index, const std::string& lever_name) {
        const size_t room = farthest_plain_room(depth_index);
        d_.switches.push_back({lever_name, free_tile(room), "button", "DEACTIVATE|locked",
                               "You pull the lever. Somewhere on this depth a lock clanks open.",
                               door.name, door.at});
    }

    // Each depth's stair down stands in its stair room behind a locked door: the first depths
    // below the start take the starting pack's keys in turn, the others a lever of their own.
    void stairs() {
        size_t pack_key = 0;
        for (size_t k = 0; k + 1 < d_.depths.size(); ++k) {
            Depth& depth = d_.depths[k];
            depth.stair = aside_tile(depth.stair_room);
            d_.teleports.push_back({"Stair Down", depth.stair, d_.depths[k + 1].arrival});
            const Cell doorway =
                doorway_beside(join_of(layout_, depth.stair_room), depth.stair_room);
            if (k >= 1 && pack_key < palette_.keys.size()) {
                const KeyKind& key = palette_.keys[pack_key++];
                d_.doors.push_back({door_name_for(key.name), doorway, true, key.key_id});
                continue;
            }
            const Door door{"Portcullis", doorway, true, lever_key_id()};
            d_.doors.push_back(door);
            lever_for(door, k, "Rusty Lever");
        }
        // A pack with more keys than depths: the rest lock vaults (see vaults()).
        spare_keys_ = pack_key;
    }

    void gate_and_exit() {
        const Cell gate = doorway_beside(join_of(layout_, d_.exit_room), d_.exit_room);
        d_.gate = gate;
        d_.doors.push_back({"Black Gate", gate, true, lever_key_id()});
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

    // The first depth's vault hides behind a secret door; deeper ones behind a secret door or a
    // door locked by a lever of their depth (or a spare key of the pack).
    void vaults() {
        for (size_t k = 0; k < d_.depths.size(); ++k) {
            const size_t room = d_.depths[k].vault_room;
            const Cell doorway = doorway_beside(join_of(layout_, room), room);
            if (k == 0 || dice_.chance(50)) {
                d_.doors.push_back({"Hidden Door", doorway, false, 0, true});
            } else if (spare_keys_ < palette_.keys.size()) {
                const KeyKind& key = palette_.keys[spare_keys_++];
                d_.doors.push_back({door_name_for(key.name), doorway, true, key.key_id});
            } else {
                const Door door{"Vault Door", doorway, true, lever_key_id()};
                d_.doors.push_back(door);
                lever_for(door, k, "Vault Lever");
            }
        }
        d_.doors.push_back(
            {"Lair Door", doorway_beside(join_of(layout_, d_.lair_room), d_.lair_room)});
    }

    bool leads_to_role(size_t room) const {
        return has_role(room) && room != d_.depths[size_t(d_.rooms[room].depth)].arrival_room;
    }
    bool is_role_join(const Join& join) const {
        return leads_to_role(join.a) || leads_to_role(join.b);
    }

    // Plain doors on some other joins, where the doorway is a narrow one (not into a cave).
    void doors() {
        for (const Join& join : layout_.joins) {
            if (is_role_join(join) || dice_.range(1, 100) > 30) continue;
            if (d_.rooms[join.a].shape == Shape::Cave) continue;
            d_.doors.push_back({dice_.range(0, 1) ? "Oak Door" : "Wooden Door", join.door_a});
        }
    }

    // Fewer lamps the deeper: three rooms in five lit on the first depth, one in five on the last.
    void lights() {
        const int32_t deepest = std::max<int32_t>(1, int32_t(d_.depths.size()) - 1);
        for (size_t room = 0; room < d_.rooms.size(); ++room) {
            Room& r = d_.rooms[room];
            if (room == d_.start_room) continue;
            const Depth& depth = d_.depths[size_t(r.depth)];
            const bool lasting = room == d_.exit_room || room == d_.lair_room;
            const bool arrival = room == depth.arrival_room;
            const int32_t share = 60 - 40 * r.depth / deepest;
            if (!lasting && !arrival && (room == depth.vault_room || !dice_.chance(share)))
                continue;
            r.lit = true;
            const int32_t count = floor_of(room) > 60 ? 2 : 1;
            for (int32_t k = 0; k < count; ++k) {
                const LampKind& kind = *lit_[dice_.index(lit_.size())];
                d_.lamps.push_back(
                    {kind.name, free_tile(room), lasting ? -1 : dice_.range(6, 30) * 100});
            }
        }
    }

    // A portal pair on one depth below the first, between its nearest and farthest plain rooms.
    void portals() {
        const size_t k = size_t(dice_.range(1, int32_t(d_.depths.size()) - 1));
        const Depth& depth = d_.depths[k];
        std::vector<size_t> rooms;
        for (size_t room = depth.first_room; room < depth.first_room + depth.room_count; ++room)
            if (!has_role(room)) rooms.push_back(room);
        if (rooms.size() < 2) return;
        std::stable_sort(rooms.begin(), rooms.end(),
                         [&](size_t a, size_t b) { return d_.rooms[a].steps < d_.rooms[b].steps; });
        const size_t near = rooms.front(), far = rooms.back();
        const Cell a = aside_tile(near), b = aside_tile(far);
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
        return *fits[dice_.index(fits.size())];
    }

    // The level climbs with the descent: from the weakest at the first depth's arrival to the
    // strongest regular kind in the last depth's farthest rooms.
    int32_t level_at(const Room& room, int32_t most_steps) const {
        const int32_t span = highest_ - lowest_ + 1;
        const int32_t parts = int32_t(d_.depths.size()) * (most_steps + 1);
        return std::min(highest_,
                        lowest_ + span * (room.depth * (most_steps + 1) + room.steps) / parts);
    }

    void place(const MonsterKind& kind, size_t room) {
        if (kind.attack_range > 1) d_.lamps.push_back({brightest_->name, free_tile(room), -1});
        d_.spawns.push_back({kind.name, free_tile(room), kind.level});
        experience_ += kind.xp;
    }

    // The player's level once it has slain every monster placed so far, by the game's thresholds
    // (50 L (L - 1) experience for level L): no kind comes more than one level above it.
    int32_t level_earned() const {
        int32_t level = 1;
        while (50 * (level + 1) * level <= experience_)
            ++level;
        return level;
    }

    void monsters() {
        for (size_t k = 0; k < d_.depths.size(); ++k) {
            Depth& depth = d_.depths[k];
            std::vector<size_t> order;
            int32_t most_steps = 0;
            for (size_t room = depth.first_room; room < depth.first_room + depth.room_count;
                 ++room) {
                order.push_back(room);
                most_steps = std::max(most_steps, d_.rooms[room].steps);
            }
            std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
                return d_.rooms[a].steps < d_.rooms[b].steps;
            });
            for (size_t room : order) {
                if (room == depth.arrival_room || room == d_.exit_room || room == d_.lair_room ||
                    room == depth.vault_room)
                    continue;
                const int32_t level =
                    std::min(level_at(d_.rooms[room], most_steps), level_earned() + 1);
                depth.top_level = std::max(depth.top_level, level);
                const int32_t floor = floor_of(room);
                // Weak kinds come in packs in big rooms, strong ones alone.
                const int32_t count = 1 + (floor >= 40 && level <= lowest_ + 2) +
                                      (floor >= 90 && level <= lowest_ + 1);
                for (int32_t m = 0; m < count; ++m)
                    place(kind_for(level, d_.rooms[room].lit), room);
            }
            // The vault's keeper comes last on its depth: the richest of the weak on the first,
            // below it a kind stronger than the depth's strongest.
            if (k == 0)
                place(*keeper_, depth.vault_room);
            else
                place(
                    kind_for(std::min({highest_, depth.top_level + 1, level_earned() + 1}), false),
                    depth.vault_room);
        }
        // The guardian is the route's last fight.
        d_.spawns.push_back({guardian_->name, d_.guardian, guardian_->level});
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
    int32_t next_lever_id_ = 6;
    int32_t experience_ = 0;
    size_t spare_keys_ = 0;
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
    if (!lay_out_depths(dice, *dungeon, layout)) return std::nullopt;
    Populator(dice, *dungeon, layout, palette).run();
    return dungeon;
}

int32_t Dungeon::depth_of(Cell c) const {
    for (size_t k = 0; k < depths.size(); ++k)
        if (depths[k].area.contains(c)) return int32_t(k);
    return -1;
}

int32_t Dungeon::loops() const {
    int32_t total = 0;
    for (const Depth& depth : depths)
        total += depth.loops;
    return total;
}

}  // namespace grotmere::gen
