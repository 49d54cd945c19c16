#include "world/map_file.hpp"

#include <memory>
#include <string_view>

#include "base/text.hpp"
#include "base/text_file.hpp"
#include "records/definition_loader.hpp"
#include "records/field_registry.hpp"
#include "world/door.hpp"
#include "world/gegenstand.hpp"
#include "world/karte.hpp"
#include "world/karten_tile.hpp"
#include "world/leuchte.hpp"
#include "world/schalter.hpp"
#include "world/teleport.hpp"
#include "world/world_state.hpp"

namespace grotmere {

void warn_about_map(const std::string& file, const std::string& message) {
    report_load_problems({LoadProblem{file, 0, message}});
}

namespace {

std::string at_text(int32_t x, int32_t y) {
    return " at (" + int_to_text(x) + "|" + int_to_text(y) + ")";
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
        return warn_about_map(file, "the light \"" + record.name + "\"" +
                                        at_text(record.x, record.y) +
                                        " names no light prototype; skipped");
    }
    TKartenTile* tile = map_tile(record.x, record.y);
    if (tile == nullptr) {
        return warn_about_map(file, "the light \"" + record.name + "\"" +
                                        at_text(record.x, record.y) +
                                        " lies outside the map; skipped");
    }
    light->x = record.x;
    light->y = record.y;
    light->brenndauer = record.brenndauer;
    tile->gegenstaende->append(light);
}

// Switches, doors and teleports stand in their tile's list and stay in map_records as well.
template <class Feature>
void place_features(const std::string& file) {
    map_records->for_each_of<Feature>([&](std::shared_ptr<Feature>& feature) {
        if (TKartenTile* tile = map_tile(feature->x, feature->y)) {
            tile->gegenstaende->append(feature);
            return;
        }
        warn_about_map(file, "the " + TTypeId::Of<Feature>().Name() +
                                 at_text(feature->x, feature->y) +
                                 " lies outside the map; it stands on no tile");
    });
}

// Lights go first, so a light stands ahead of any switch, door or teleport on its tile.
void place_records(const std::string& file, const PlaceMonsters& place_monsters) {
    map_records->for_each_of<TLeuchte>([&](std::shared_ptr<TLeuchte>& record) {
        place_light(file, *record);
        map_records->remove(record.get());
    });
    if (place_monsters) place_monsters(file);
    place_features<TSchalter>(file);
    place_features<TDoor>(file);
    place_features<TTeleport>(file);
}

}  // namespace

std::optional<LoadProblem> read_map_file(const std::string& file,
                                         const PlaceMonsters& place_monsters) {
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
    place_records(file, place_monsters);
    return std::nullopt;
}

}  // namespace grotmere
