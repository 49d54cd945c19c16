#include "world/map_file.hpp"

#include <memory>
#include <string_view>

#include "actors/gegenstand.hpp"
#include "actors/gegner.hpp"
#include "actors/monster_spawn.hpp"
#include "shell/definition_loader.hpp"
#include "shell/field_registry.hpp"
#include "shell/world_state.hpp"
#include "ui/text.hpp"
#include "ui/text_file.hpp"
#include "world/door.hpp"
#include "world/karte.hpp"
#include "world/karten_tile.hpp"
#include "world/leuchte.hpp"
#include "world/schalter.hpp"
#include "world/teleport.hpp"

namespace grotmere {

namespace {

std::string at_text(int32_t x, int32_t y) {
    return " at (" + int_to_text(x) + "|" + int_to_text(y) + ")";
}

void warn(const std::string& file, const std::string& message) {
    report_load_problems({LoadProblem{file, 0, message}});
}

std::optional<LoadProblem> size_problem(const std::string& file, const char* what, int32_t value) {
    if (value >= 1 && value <= kGridSize) return std::nullopt;
    return LoadProblem{file, 0,
                       std::string("the map ") + what + " " + int_to_text(value) +
                           " lies outside 1 to " + int_to_text(kGridSize)};
}

// Only the digit 1 makes a wall: each character is read as a number on its own, so "#", "." and
// " " are floor. A line shorter than the map leaves the rest of its row floor.
void read_grid(TextFile& in) {
    for (int32_t y = 0; y < map_height; ++y) {
        const std::string line = in.read_line();
        for (int32_t x = 0; x < map_width; ++x) {
            const char c = x < static_cast<int32_t>(line.size()) ? line[x] : '0';
            tile_grid.at(x, y)->ID = text_to_int(std::string_view(&c, 1));
        }
    }
}

// A light on the map is a fresh copy of its prototype; only its place and burn time come from
// the record.
void place_light(const std::string& file, const TLeuchte& record) {
    auto light = std::dynamic_pointer_cast<TLeuchte>(TGegenstand::create_from_proto(record.name));
    if (!light) {
        return warn(file, "the light \"" + record.name + "\"" + at_text(record.x, record.y) +
                              " names no light prototype; skipped");
    }
    TKartenTile* tile = map_tile(record.x, record.y);
    if (tile == nullptr) {
        return warn(file, "the light \"" + record.name + "\"" + at_text(record.x, record.y) +
                              " lies outside the map; skipped");
    }
    light->x = record.x;
    light->y = record.y;
    light->brenndauer = record.brenndauer;
    tile->gegenstaende->append(light);
}

// Every call of one record has the same arguments, and the tiles do not change between them, so
// a refused spawn would be refused again: one warning, and the record's remaining calls are left
// out.
void spawn_monsters(const std::string& file, const TGegner& record) {
    for (int32_t k = 0; k < record.anzahl; ++k) {
        const SpawnOutcome outcome =
            spawn_monster(record.name, record.x, record.y, record.level, record.abweichung);
        if (outcome == SpawnOutcome::OutsideMap || outcome == SpawnOutcome::NoTile) {
            return warn(file,
                        spawn_refusal(outcome, record.name, record.x, record.y, record.level));
        }
    }
}

// Switches, doors and teleports stand in their tile's list and stay in map_records as well.
template <class Feature>
void place_features(const std::string& file) {
    map_records->for_each_of<Feature>([&](std::shared_ptr<Feature>& feature) {
        if (TKartenTile* tile = map_tile(feature->x, feature->y)) {
            tile->gegenstaende->append(feature);
            return;
        }
        warn(file, "the " + TTypeId::Of<Feature>().Name() + at_text(feature->x, feature->y) +
                       " lies outside the map; it stands on no tile");
    });
}

// Lights go first, so a light stands ahead of any switch, door or teleport on its tile.
void place_records(const std::string& file) {
    map_records->for_each_of<TLeuchte>([&](std::shared_ptr<TLeuchte>& record) {
        place_light(file, *record);
        map_records->remove(record.get());
    });
    map_records->for_each_of<TGegner>([&](std::shared_ptr<TGegner>& record) {
        spawn_monsters(file, *record);
        map_records->remove(record.get());
    });
    place_features<TSchalter>(file);
    place_features<TDoor>(file);
    place_features<TTeleport>(file);
}

}  // namespace

std::optional<LoadProblem> load_map_file(const std::string& file) {
    TextFileHandle in = open_text_file(file);
    if (!in) return LoadProblem{file, 0, "the file cannot be opened, so there is no map"};
    const int32_t width = text_to_int(in->read_line());
    const int32_t height = text_to_int(in->read_line());
    if (auto problem = size_problem(file, "width", width)) return problem;
    if (auto problem = size_problem(file, "height", height)) return problem;

    map_width = width;
    map_height = height;
    current_map = file;
    // Building a map object replaces every tile; the object itself is not needed afterwards.
    TKarte fresh_tiles;
    read_grid(*in);
    const int32_t records_offset = in->byte_position();
    close_file(in);
    load_definitions(map_records, file, records_offset);
    place_records(file);
    return std::nullopt;
}

}  // namespace grotmere
