#include <deque>
#include <set>
#include <unordered_map>

#include "check/content_check_parts.hpp"
#include "world/map_file.hpp"

namespace grotmere {

namespace {

class WayOut {
public:
    explicit WayOut(const WayOutInputs& inputs) : in_(inputs) {}

    // The keys a player can hold: those of the starting pack, and those a slain monster may drop
    // (a key whose value some monster's drop budget can pay).
    std::set<int32_t> obtainable_keys() {
        std::set<int32_t> keys;
        for (const RecordRef& record : in_.player.list.records()) {
            if (!is_a(*record, "TGegenstand")) continue;
            if (const Record* key = item_named(in_.items, text_of(*record, "name"), "TKey"))
                keys.insert(int_of(*key, "key_id"));
        }
        int32_t richest = 0;
        for (const RecordRef& monster : in_.monsters.list.records())
            richest = std::max(richest, int_of(*monster, "gold_drop"));
        for (const RecordRef& item : in_.items.list.records()) {
            const int32_t value = item_value(*item);
            if (is_a(*item, "TKey") && value > 0 && value <= richest)
                keys.insert(int_of(*item, "key_id"));
        }
        return keys;
    }

    void check() {
        std::vector<const Record*> exits;
        for (const RecordRef& record : in_.map.list.records()) {
            if (is_a(*record, "TSchalter") && lower_case(text_of(*record, "art")) == "exit" &&
                in_.terrain.open(int_of(*record, "x"), int_of(*record, "y"))) {
                exits.push_back(record.get());
            }
        }
        RecordRef hero = in_.player.list.first();
        if (exits.empty() || !hero || !is_a(*hero, "TPlayer")) return;
        const int32_t start_x = int_of(*hero, "x");
        const int32_t start_y = int_of(*hero, "y");
        if (!in_.terrain.open(start_x, start_y)) return;
        std::vector<char> reached = reachable_from(start_x, start_y);
        for (const Record* exit : exits) {
            const int32_t x = int_of(*exit, "x");
            const int32_t y = int_of(*exit, "y");
            if (reached[x * in_.terrain.height + y]) continue;
            in_.problem(*exit, "the exit " + quoted(text_of(*exit, "name")) + " at " + at(x, y) +
                                   " cannot be reached from the start at " + at(start_x, start_y) +
                                   " through doors the player can open");
        }
    }

    // Walks from the start over every tile the player can enter, through doors that are open,
    // unlocked, fit a key the player can hold, or that a switch already reached opens; teleports
    // reached carry the walk on. Repeats until a round opens nothing new.
    std::vector<char> reachable_from(int32_t start_x, int32_t start_y) {
        const std::set<int32_t> keys = obtainable_keys();
        std::set<const Record*> opened;
        std::unordered_map<int32_t, std::vector<const Record*>> doors;
        for (const RecordRef& record : in_.map.list.records()) {
            if (!is_a(*record, "TDoor")) continue;
            const int32_t x = int_of(*record, "x");
            const int32_t y = int_of(*record, "y");
            if (in_.terrain.inside(x, y)) doors[x * in_.terrain.height + y].push_back(record.get());
            if (!int_of(*record, "locked") || int_of(*record, "open") ||
                keys.count(int_of(*record, "key_id")))
                opened.insert(record.get());
        }
        // The teleports that carry the walk on, by the cell they stand on, in file order.
        for (const RecordRef& record : in_.map.list.records()) {
            const int32_t x = int_of(*record, "x");
            const int32_t y = int_of(*record, "y");
            if (is_a(*record, "TTeleport") && in_.terrain.inside(x, y) &&
                text_of(*record, "target_map") == kMapFile)
                teleports_[x * in_.terrain.height + y].push_back(record.get());
        }
        std::vector<char> reached;
        for (size_t before = 0;;) {
            reached = flood(start_x, start_y, doors, opened);
            open_by_switches(reached, opened);
            if (opened.size() == before) return reached;
            before = opened.size();
        }
    }

    std::vector<char> flood(int32_t x0, int32_t y0,
                            const std::unordered_map<int32_t, std::vector<const Record*>>& doors,
                            const std::set<const Record*>& opened) {
        const int32_t h = in_.terrain.height;
        std::vector<char> reached(static_cast<size_t>(in_.terrain.width) * h, 0);
        std::deque<std::pair<int32_t, int32_t>> queue{{x0, y0}};
        reached[x0 * h + y0] = 1;
        auto enter = [&](int32_t x, int32_t y) {
            if (!in_.terrain.open(x, y) || reached[x * h + y]) return;
            auto here = doors.find(x * h + y);
            if (here != doors.end()) {
                for (const Record* door : here->second)
                    if (!opened.count(door)) return;
            }
            reached[x * h + y] = 1;
            queue.emplace_back(x, y);
        };
        while (!queue.empty()) {
            auto [x, y] = queue.front();
            queue.pop_front();
            enter(x - 1, y);
            enter(x + 1, y);
            enter(x, y - 1);
            enter(x, y + 1);
            auto gates = teleports_.find(x * h + y);
            if (gates == teleports_.end()) continue;
            for (const Record* teleport : gates->second)
                enter(int_of(*teleport, "target_x"), int_of(*teleport, "target_y"));
        }
        return reached;
    }

    void open_by_switches(const std::vector<char>& reached, std::set<const Record*>& opened) {
        for (const RecordRef& record : in_.map.list.records()) {
            if (!is_a(*record, "TDoor") || opened.count(record.get())) continue;
            for (const Record* schalter : in_.switches_opening(*record)) {
                const int32_t x = int_of(*schalter, "x");
                const int32_t y = int_of(*schalter, "y");
                if (in_.terrain.inside(x, y) && reached[x * in_.terrain.height + y])
                    opened.insert(record.get());
            }
        }
    }

private:
    const WayOutInputs& in_;
    std::unordered_map<int32_t, std::vector<const Record*>> teleports_;
};

}  // namespace

void check_way_out(const WayOutInputs& inputs) {
    WayOut(inputs).check();
}

}  // namespace grotmere
