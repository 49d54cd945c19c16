#include "check/content_check.hpp"

#include <algorithm>
#include <deque>
#include <set>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "actors/tastatur.hpp"
#include "actors/trank.hpp"
#include "base/random.hpp"
#include "base/text.hpp"
#include "base/text_file.hpp"
#include "check/content_check_parts.hpp"
#include "records/definition_loader.hpp"
#include "records/field_registry.hpp"
#include "run/record_types.hpp"
#include "run/startup_definitions.hpp"
#include "world/karte.hpp"
#include "world/map_file.hpp"
#include "world/schalter.hpp"
#include "world/tile_grid.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

class ContentCheck {
public:
    LoadProblems run() {
        reset_world();
        register_record_types();
        // Ranges in the files are drawn while loading; a fixed seed makes the check repeatable.
        seed_random(1);
        load(items_, kItemFile);
        load(monsters_, kMonsterFile);
        load(bindings_, kBindingFile);
        read_map();
        place_on_tiles();
        load(player_, kPlayerFile);

        check_first_record(bindings_, "TTastatur");
        check_escape();
        check_first_record(player_, "TPlayer");
        check_items();
        check_player();
        check_map_records();
        check_way_out(
            {.items = items_,
             .monsters = monsters_,
             .player = player_,
             .map = map_,
             .terrain = terrain_,
             .switches_opening = [this](const Record& door) -> const std::vector<const Record*>& {
                 return switches_opening(door);
             },
             .problem = [this](const Record& record,
                               std::string message) { problem(record, std::move(message)); }});
        return std::move(problems_);
    }

private:
    // --- loading ------------------------------------------------------------------------------

    void load(LoadedFile& into, const std::string& file, int32_t offset = 0) {
        into.file = file;
        LoadProblems found = read_definitions_traced(into.list, file, offset, into.origins);
        problems_.insert(problems_.end(), found.begin(), found.end());
        for (const RecordOrigin& origin : into.origins)
            where_[origin.record.get()] = origin;
    }

    // The grid as the map loader reads it, with the rows' lengths checked on the way.
    void read_map() {
        map_.file = kMapFile;
        TextFileHandle in = open_text_file(kMapFile);
        if (!in) return problem(kMapFile, 1, "the map file cannot be opened");
        terrain_.width = text_to_int(in->read_line());
        terrain_.height = text_to_int(in->read_line());
        for (auto [size, line, what] :
             {std::tuple{terrain_.width, 1, "width"}, std::tuple{terrain_.height, 2, "height"}}) {
            if (size < 1 || size > kGridSize) {
                return problem(kMapFile, line,
                               std::string("the map ") + what + " " + int_to_text(size) +
                                   " lies outside 1 to " + int_to_text(kGridSize));
            }
        }
        terrain_.ids.assign(static_cast<size_t>(terrain_.width) * terrain_.height, 0);
        bool told_odd_tile = false;
        for (int32_t y = 0; y < terrain_.height; ++y) {
            if (in->at_end()) {
                problem(kMapFile, y + 3,
                        "the map has " + int_to_text(terrain_.height) +
                            " rows, but the file ends "
                            "after " +
                            int_to_text(y));
                break;
            }
            const std::string row = in->read_line();
            const int32_t length = static_cast<int32_t>(row.size());
            if (length != terrain_.width) {
                problem(kMapFile, y + 3,
                        "row " + int_to_text(y) + " has " + int_to_text(length) +
                            " tiles, but the map is " + int_to_text(terrain_.width) + " wide");
            }
            const std::string odd = told_odd_tile ? "" : odd_tile_in_row(row, y, terrain_.width);
            told_odd_tile = !odd.empty();
            if (told_odd_tile) problem(kMapFile, y + 3, odd);
            for (int32_t x = 0; x < std::min(length, terrain_.width); ++x) {
                terrain_.ids[x * terrain_.height + y] = text_to_int(std::string_view(&row[x], 1));
            }
        }
        terrain_.usable = true;
        const int32_t offset = in->byte_position();
        const std::string beyond = rows_beyond_height(*in, terrain_.width, terrain_.height);
        if (!beyond.empty()) problem(kMapFile, terrain_.height + 3, beyond);
        close_file(in);
        // Teleports take the loaded map as their target map, as they do in the game.
        map_width = terrain_.width;
        map_height = terrain_.height;
        current_map = kMapFile;
        load(map_, kMapFile, offset);
    }

    // The lights, switches, doors and teleports stand on the world's tiles as a game's start puts
    // them, so that a switch's target is the one the rule's own search finds. What the placing
    // would warn about is said by the checks below in their own words.
    void place_on_tiles() {
        if (!terrain_.usable) return;
        for (const RecordRef& item : items_.list.records())
            item_prototypes->append(item);
        for (const RecordRef& record : map_.list.records())
            map_records->append(record);
        TKarte::construct();
        place_lights(kMapFile, {});
        place_features(kMapFile, {});
    }

    // --- reporting ----------------------------------------------------------------------------

    void problem(const std::string& file, int32_t line, std::string message) {
        problems_.push_back({file, line, std::move(message)});
    }

    void problem(const Record& record, std::string message) {
        auto found = where_.find(&record);
        if (found == where_.end()) return problem("?", 0, std::move(message));
        problem(found->second.file, found->second.line, std::move(message));
    }

    // --- prototypes ---------------------------------------------------------------------------

    // The first prototype of each name decides, as the game's lookup does.
    const Record* item_named(const std::string& name, std::string_view type = "TGegenstand") {
        if (!items_named_known_) {
            items_named_known_ = true;
            for (const RecordRef& item : items_.list.records())
                items_named_.emplace(text_of(*item, "name"), item.get());
        }
        auto found = items_named_.find(name);
        if (found == items_named_.end()) return nullptr;
        return is_a(*found->second, type) ? found->second : nullptr;
    }

    bool monster_named(const std::string& name) {
        auto records = monsters_.list.records();
        return std::any_of(records.begin(), records.end(), [&](const RecordRef& monster) {
            return is_a(*monster, "TGegner") && text_of(*monster, "name") == name;
        });
    }

    void check_first_record(LoadedFile& loaded, std::string_view type) {
        RecordRef first = loaded.list.first();
        if (first && is_a(*first, type)) return;
        problem(loaded.file, 1, "the file does not begin with a " + std::string(type) + " record");
    }

    void check_escape() {
        const auto* keys = dynamic_cast<const TTastatur*>(bindings_.list.first().get());
        if (keys != nullptr && !escape_taken(*keys).empty()) problem(*keys, escape_taken(*keys));
    }

    void check_items() {
        for (const RecordRef& item : items_.list.records()) {
            if (is_a(*item, "TWaffe") && int_of(*item, "reichweite") > 0) check_ammunition(*item);
            if (is_a(*item, "TTrank")) check_potion(*item);
            if (is_a(*item, "TKey")) check_key(*item);
            if (is_a(*item, "TLeuchte") && !light_reach_cost(*item).empty())
                problem(*item, light_reach_cost(*item));
        }
    }

    // A ranged weapon's munition holds ammunition names, each between hyphens.
    void check_ammunition(const Record& weapon) {
        const std::string name = text_of(weapon, "name");
        std::vector<std::string> names;
        std::string piece;
        for (char c : text_of(weapon, "munition") + "-") {
            if (c != '-') {
                piece += c;
            } else if (!piece.empty()) {
                names.push_back(std::move(piece));
                piece.clear();
            }
        }
        if (names.empty())
            problem(weapon, "the ranged weapon " + quoted(name) + " names no ammunition");
        for (const std::string& ammunition : names) {
            if (item_named(ammunition, "TMunition")) continue;
            problem(weapon, "the weapon " + quoted(name) + " shoots " + quoted(ammunition) +
                                ", which names no ammunition prototype");
        }
    }

    // Each piece is read by the drink's own reader.
    void check_potion(const Record& potion) {
        const std::string name = text_of(potion, "name");
        const TTypeId& drinker = *TTypeId::ForName("TPlayer");
        for (const PotionPiece& piece : read_potion_text(text_of(potion, "wirkung"))) {
            if (piece.text.empty()) continue;
            const TField* found = drinker.FindField(piece.field);
            if (found == nullptr || found->Kind() != FieldKind::Int) {
                problem(potion, "the potion " + quoted(name) + ": " + quoted(piece.text) +
                                    " names no number field of the player");
            } else if (piece.operand == "/" && piece.value == 0) {
                problem(potion, "the potion " + quoted(name) + ": " + quoted(piece.text) +
                                    " divides by zero");
            }
        }
    }

    void check_key(const Record& key) {
        const int32_t id = int_of(key, "key_id");
        if (locks_.empty()) {
            for (const RecordRef& door : map_.list.records()) {
                if (is_a(*door, "TDoor") && int_of(*door, "locked"))
                    locks_.insert(int_of(*door, "key_id"));
            }
            locks_.insert(kNoKeyId);  // known now, even for a map without locked doors
        }
        if (locks_.count(id) != 0) return;
        problem(key, "the key " + quoted(text_of(key, "name")) + " (key_id " + int_to_text(id) +
                         ") fits no locked door of the map");
    }

    // --- the player ---------------------------------------------------------------------------

    void check_player() {
        bool first = true;
        for (const RecordRef& record : player_.list.records()) {
            if (first && is_a(*record, "TPlayer")) {
                check_place(*record, "the player's start");
            } else if (is_a(*record, "TGegenstand") && !item_named(text_of(*record, "name"))) {
                problem(*record, "the starting item " + quoted(text_of(*record, "name")) +
                                     " names no item prototype");
            } else if (is_a(*record, "TGegenstand")) {
                add_to_starting_stack(*record);
            }
            first = false;
        }
    }

    // Starting items of one name stack; a stack past 32 bits wraps, said at the record that
    // takes it over.
    void add_to_starting_stack(const Record& record) {
        const std::string name = text_of(record, "name");
        const int32_t count = int_of(record, "anzahl") != 0 ? int_of(record, "anzahl")
                                                            : int_of(*item_named(name), "anzahl");
        int64_t& total = starting_stacks_[name];
        const bool fitted = total == static_cast<int32_t>(total);
        total += count;
        if (!fitted || total == static_cast<int32_t>(total)) return;
        problem(record, "the starting stack of " + quoted(name) + " adds up to " +
                            std::to_string(total) + ", beyond 32 bits: the game holds " +
                            int_to_text(static_cast<int32_t>(static_cast<uint32_t>(total))));
    }

    // --- the map's records --------------------------------------------------------------------

    bool check_place(const Record& record, const std::string& what) {
        const int32_t x = int_of(record, "x");
        const int32_t y = int_of(record, "y");
        if (!terrain_.usable) return false;
        if (!terrain_.inside(x, y)) {
            problem(record, what + " lies outside the map at " + at(x, y));
            return false;
        }
        if (!terrain_.open(x, y)) {
            problem(record, what + " stands in a wall at " + at(x, y));
            return false;
        }
        return true;
    }

    void check_map_records() {
        for (const RecordRef& record : map_.list.records()) {
            const std::string name = quoted(text_of(*record, "name"));
            if (is_a(*record, "TLeuchte")) {
                if (!item_named(text_of(*record, "name"), "TLeuchte"))
                    problem(*record, "the light " + name + " names no light prototype");
                check_place(*record, "the light " + name);
            } else if (is_a(*record, "TGegner")) {
                check_spawn(*record);
            } else if (is_a(*record, "TSchalter")) {
                check_place(*record, "the switch " + name);
                check_switch(*record);
            } else if (is_a(*record, "TDoor")) {
                check_place(*record, "the door " + name);
                check_locked_door(*record);
            } else if (is_a(*record, "TTeleport")) {
                check_place(*record, "the teleport " + name);
                check_teleport(*record);
            } else if (const std::string unplaced = unplaced_map_record(*record);
                       !unplaced.empty()) {
                problem(*record, unplaced);
            }
        }
    }

    void check_spawn(const Record& spawn) {
        const std::string name = text_of(spawn, "name");
        const int32_t level = int_of(spawn, "level");
        const int32_t spread = int_of(spawn, "abweichung");
        const std::string what = name.empty() ? "the monster spawn" : "the monster " + quoted(name);
        if (!name.empty() && !monster_named(name)) {
            problem(spawn, what + " names no monster prototype");
        } else if (name.empty() && !has_level_candidate(level, spread)) {
            problem(spawn, level == 0 ? std::string("there is no monster prototype to choose from")
                                      : "no monster prototype has a level from " +
                                            int_to_text(level - spread) + " to " +
                                            int_to_text(level + spread));
        }
        const int32_t x = int_of(spawn, "x");
        const int32_t y = int_of(spawn, "y");
        if (x != -1 && y != -1) {
            check_place(spawn, what);
        } else if (x != -1 || y != -1) {
            check_open_line(spawn, what, x, y);
        }
    }

    bool has_level_candidate(int32_t level, int32_t spread) {
        auto records = monsters_.list.records();
        return std::any_of(records.begin(), records.end(), [&](const RecordRef& monster) {
            const int32_t kind = int_of(*monster, "level");
            return level == 0 || (kind >= level - spread && kind <= level + spread);
        });
    }

    // A spawn with one coordinate fixed is placed on an open tile of that column or row.
    void check_open_line(const Record& spawn, const std::string& what, int32_t x, int32_t y) {
        if (!terrain_.usable) return;
        const bool column = x != -1;
        const int32_t fixed = column ? x : y;
        const int32_t length = column ? terrain_.height : terrain_.width;
        for (int32_t i = 0; i < length; ++i) {
            if (column ? terrain_.open(x, i) : terrain_.open(i, y)) return;
        }
        problem(spawn, what + " is placed in " + (column ? "column " : "row ") +
                           int_to_text(fixed) + ", which holds no open tile");
    }

    // The item a switch acts on at the start, found by the rule's own search; null for none.
    const Record* target_of(const Record& schalter) {
        auto known = targets_.find(&schalter);
        if (known != targets_.end()) return known->second;
        const auto* rule = dynamic_cast<const TSchalter*>(&schalter);
        const Record* target = rule != nullptr ? switch_target(*rule).get() : nullptr;
        targets_.emplace(&schalter, target);
        return target;
    }

    void check_switch(const Record& schalter) {
        const std::string name = quoted(text_of(schalter, "name"));
        const std::string art = lower_case(text_of(schalter, "art"));
        if (art != "trigger" && art != "button" && art != "exit") {
            return problem(schalter, "the switch " + name + " has the art " +
                                         quoted(text_of(schalter, "art")) +
                                         ", which is none of trigger, button and exit");
        }
        const std::vector<SwitchStep> steps = read_switch_text(text_of(schalter, "wirkung"));
        if (art == "exit" || steps.empty()) return;
        const Record* found = target_of(schalter);
        if (found == nullptr) {
            const int32_t ziel_x = int_of(schalter, "ziel_x");
            const int32_t ziel_y = int_of(schalter, "ziel_y");
            std::string where = ziel_x == -1 && ziel_y == -1 ? "anywhere on the map"
                                : ziel_x == -1               ? "in row " + int_to_text(ziel_y)
                                : ziel_y == -1               ? "in column " + int_to_text(ziel_x)
                                                             : "at " + at(ziel_x, ziel_y);
            return problem(schalter, "the switch " + name + " aims at " +
                                         quoted(text_of(schalter, "ziel_name")) +
                                         ", but no door or light of that name stands " + where);
        }
        const TTypeId& target = type_of(*found);
        for (const SwitchStep& step : steps) {
            const TField* field = target.FindField(step.field);
            if (field != nullptr && field->Kind() == FieldKind::Int) continue;
            problem(schalter, "the switch " + name + ": " + quoted(step.field) +
                                  " names no number field of " + target.Name());
        }
    }

    // Whether a switch's text can open a locked door: unlocking it, or opening it as it stands.
    static bool text_opens(const std::vector<SwitchStep>& steps) {
        return std::any_of(steps.begin(), steps.end(), [](const SwitchStep& step) {
            return (equals_ignoring_case(step.field, "locked") &&
                    step.mode != SwitchMode::Activate) ||
                   (equals_ignoring_case(step.field, "open") &&
                    step.mode != SwitchMode::Deactivate);
        });
    }

    // The switches whose text can open each door they act on, found in one walk over the map.
    const std::vector<const Record*>& switches_opening(const Record& door) {
        if (!opening_known_) {
            opening_known_ = true;
            for (const RecordRef& record : map_.list.records()) {
                if (!is_a(*record, "TSchalter")) continue;
                const std::string art = lower_case(text_of(*record, "art"));
                if (art != "trigger" && art != "button") continue;
                if (!text_opens(read_switch_text(text_of(*record, "wirkung")))) continue;
                if (const Record* target = target_of(*record))
                    opening_[target].push_back(record.get());
            }
        }
        static const std::vector<const Record*> none;
        auto found = opening_.find(&door);
        return found == opening_.end() ? none : found->second;
    }

    bool key_exists(int32_t id) {
        if (keys_.empty()) {
            for (const RecordRef& item : items_.list.records()) {
                if (is_a(*item, "TKey")) keys_.insert(int_of(*item, "key_id"));
            }
            keys_.insert(kNoKeyId);
        }
        return keys_.count(id) != 0;
    }

    void check_locked_door(const Record& door) {
        if (int_of(door, "locked") == 0 || int_of(door, "open") != 0) return;
        const int32_t id = int_of(door, "key_id");
        if (key_exists(id) || !switches_opening(door).empty()) return;
        problem(door, "the locked door " + quoted(text_of(door, "name")) + " at " +
                          at(int_of(door, "x"), int_of(door, "y")) +
                          " can be opened by no key (no key has key_id " + int_to_text(id) +
                          ") and no switch");
    }

    void check_teleport(const Record& teleport) {
        const std::string name = quoted(text_of(teleport, "name"));
        if (text_of(teleport, "target_map") != kMapFile) {
            return problem(teleport, "the teleport " + name + " leads to the map " +
                                         quoted(text_of(teleport, "target_map")) +
                                         ", which the game never loads; it moves nobody");
        }
        const int32_t x = int_of(teleport, "target_x");
        const int32_t y = int_of(teleport, "target_y");
        if (!terrain_.usable) return;
        if (!terrain_.inside(x, y)) {
            problem(teleport, "the teleport " + name + " leads outside the map to " + at(x, y));
        } else if (!terrain_.open(x, y)) {
            problem(teleport, "the teleport " + name + " leads into a wall at " + at(x, y));
        }
    }

    LoadProblems problems_;
    std::unordered_map<const Record*, RecordOrigin> where_;
    std::unordered_map<const Record*, const Record*> targets_;
    std::unordered_map<const Record*, std::vector<const Record*>> opening_;
    bool opening_known_ = false;
    // The key_ids of the item file's keys and of the map's locked doors, each gathered once;
    // kNoKeyId marks a set as gathered.
    static constexpr int64_t kNoKeyId = int64_t{1} << 40;
    std::set<int64_t> keys_, locks_;
    std::unordered_map<std::string, const Record*> items_named_;
    std::unordered_map<std::string, int64_t> starting_stacks_;
    bool items_named_known_ = false;
    LoadedFile items_, monsters_, bindings_, player_, map_;
    Terrain terrain_;
};

}  // namespace

LoadProblems check_content() {
    return ContentCheck().run();
}

std::string check_line(const LoadProblem& problem) {
    return problem.file + ":" + int_to_text(std::max(problem.line, 1)) + ": " + problem.message;
}

}  // namespace grotmere
