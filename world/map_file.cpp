#include "world/map_file.hpp"

#include <algorithm>
#include <array>
#include <iterator>
#include <memory>
#include <string_view>
#include <vector>

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
#include "world/tile_writes.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

// Hand-written scans: a row is searched once per character class, where find_first_of would
// search the set once per character of the row.
bool holds_record_marks(std::string_view row) {
    return std::any_of(row.begin(), row.end(),
                       [](char c) { return c == '{' || c == '}' || c == '='; });
}

size_t first_non_digit(std::string_view row) {
    const auto at = std::find_if(row.begin(), row.end(), [](char c) { return c < '0' || c > '9'; });
    return at == row.end() ? std::string::npos : static_cast<size_t>(at - row.begin());
}

}  // namespace

std::string odd_tile_in_row(const std::string& row, int32_t y, int32_t width) {
    if (holds_record_marks(row)) return "";
    const size_t within = std::min(row.size(), static_cast<size_t>(std::max(width, 0)));
    const size_t at = first_non_digit(row);
    if (at == std::string::npos || at >= within) return "";
    return "row " + int_to_text(y) + " holds " + shown_text(row.substr(at, 1)) + " at column " +
           int_to_text(static_cast<int32_t>(at)) +
           ", which is no terrain digit: it is read as floor (0)";
}

std::string rows_beyond_height(TextFile& in, int32_t width, int32_t height) {
    int32_t rows = 0;
    while (!in.at_end()) {
        const std::string line = in.read_line();
        const bool row_like = !line.empty() && static_cast<int32_t>(line.size()) == width &&
                              first_non_digit(line) == std::string::npos;
        if (!row_like) break;
        ++rows;
    }
    if (rows == 0) return "";
    return int_to_text(rows) + " lines after the grid's " + int_to_text(height) +
           " rows look like more rows: the height may be too small; they are read as records";
}

std::string unplaced_map_record(const Record& record) {
    const TTypeId* type = TTypeId::ForObject(record);
    if (type == nullptr) return "";
    for (const char* unplaced : {"TTreasure", "TGeschoss", "TBuff"}) {
        if (type->Name() == unplaced) {
            return "a " + type->Name() +
                   " record among the map's records is placed nowhere and does nothing";
        }
    }
    return "";
}

int32_t line_of(const RecordLines& lines, const Record& record) {
    auto found = lines.find(&record);
    return found == lines.end() ? 0 : found->second;
}

namespace {

void append(LoadProblems& to, LoadProblems more) {
    to.insert(to.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
}

// A file of a hundred thousand bad records is told about its first ones and how many more it
// holds, as the loader tells about its own.
LoadProblems at_most(const std::string& file, int32_t most, LoadProblems problems) {
    const auto kept = static_cast<size_t>(most);
    if (problems.size() <= kept) return problems;
    const auto more = static_cast<int32_t>(problems.size() - kept);
    problems.resize(kept);
    problems.push_back({file, 0, int_to_text(more) + " more problems are not shown"});
    return problems;
}

std::string at_text(int32_t x, int32_t y) {
    return " at (" + int_to_text(x) + "|" + int_to_text(y) + ")";
}

// The message says what the line held, as written: an empty or binary line, or a number beyond
// 32 bits, is not shown as the value it happens to convert to.
std::optional<LoadProblem> size_problem(const std::string& file, int32_t line, const char* what,
                                        const std::string& text) {
    const int32_t value = text_to_int(text);
    if (value >= 1 && value <= kGridSize && text_int_in_range(text)) return std::nullopt;
    std::string read = text.empty() ? "(an empty line)" : shown_text(text);
    if (!text_int_in_range(text)) {
        read += " (a number beyond 32 bits)";
    } else if (!text.empty() && int_to_text(value) != text) {
        read += " (read as " + int_to_text(value) + ")";
    }
    return LoadProblem{file, line,
                       std::string("the map ") + what + " " + read + " lies outside 1 to " +
                           int_to_text(kGridSize)};
}

// Only the digit 1 makes a wall: each character is read as a number on its own, so "#", "." and
// " " are floor. A line shorter than the map leaves the rest of its row floor. Grid lines that
// look like the record section, a NUL byte that cuts a row short, and a file that ends before
// the last row are each said once; the grid is read as the rules say all the same.
class GridReader {
public:
    GridReader(const std::string& file, TextFile& in) : file_(file), in_(in) {}

    void read_rows() {
        std::vector<std::string> rows;
        rows.reserve(static_cast<size_t>(std::max(map_height, 0)));
        for (int32_t y = 0; y < map_height; ++y) {
            const int32_t line_number = kFirstGridLine + y;
            if (in_.at_end() && !ended_early_) {
                ended_early_ = true;
                warn(line_number, "the file ends after " + int_to_text(y) + " of the grid's " +
                                      int_to_text(map_height) +
                                      " rows; the missing rows are floor");
            }
            rows.push_back(in_.read_line());
            const std::string& line = rows.back();
            check_line(line, line_number, y);
            if (!told_odd_tile_) {
                const std::string odd = odd_tile_in_row(line, y, map_width);
                told_odd_tile_ = !odd.empty();
                if (told_odd_tile_) warn(line_number, odd);
            }
        }
        set_terrain_by_columns(rows);
    }
    // After the record section's place is known: lines there that look like rows are told.
    void look_past_the_rows() {
        const std::string beyond = rows_beyond_height(in_, map_width, map_height);
        if (!beyond.empty()) warn(kFirstGridLine + map_height, beyond);
        report_load_problems(problems_);
    }

private:
    static constexpr int32_t kFirstGridLine = 3;

    void check_line(const std::string& line, int32_t line_number, int32_t y) {
        if (in_.line_ended_at_nul() && !told_nul_) {
            told_nul_ = true;
            warn(line_number, "a NUL byte ends row " + int_to_text(y) + " after " +
                                  int_to_text(static_cast<int32_t>(line.size())) +
                                  " characters; the rest of the line is read as the next row");
        }
        if (!told_records_ && holds_record_marks(line)) {
            told_records_ = true;
            warn(line_number, "row " + int_to_text(y) + " of the grid holds " + shown_text(line) +
                                  ", which looks like the record section: the grid may have "
                                  "fewer rows than its height " +
                                  int_to_text(map_height));
        }
    }

    void warn(int32_t line, std::string message) {
        problems_.push_back({file_, line, std::move(message)});
    }

    // The tiles lie column after column, so they are written in that order: row by row, every
    // write would land in another part of the block.
    static void set_terrain_by_columns(const std::vector<std::string>& rows) {
        static const std::array<int32_t, 256> terrain_of = terrain_by_character();
        for (int32_t x = 0; x < map_width; ++x) {
            TKartenTile* column = tile_grid.column(x);
            if (column == nullptr) continue;
            for (size_t y = 0; y < rows.size() && y < static_cast<size_t>(tile_grid.rows()); ++y) {
                const std::string& row = rows[y];
                const char c = x < static_cast<int32_t>(row.size()) ? row[x] : '0';
                const int32_t terrain = terrain_of[static_cast<unsigned char>(c)];
                // A fresh tile is floor already, and making the tiles told the tracker.
                if (terrain != column[y].ID) set_terrain(column[y], terrain);
            }
        }
    }

    // Each character is read as a number on its own, so "#", "." and " " are floor; worked out
    // once for every byte.
    static std::array<int32_t, 256> terrain_by_character() {
        std::array<int32_t, 256> terrain{};
        for (size_t byte = 0; byte < terrain.size(); ++byte) {
            const char c = static_cast<char>(byte);
            terrain[byte] = text_to_int(std::string_view(&c, 1));
        }
        return terrain;
    }

    const std::string& file_;
    TextFile& in_;
    LoadProblems problems_;
    bool ended_early_ = false, told_nul_ = false, told_records_ = false, told_odd_tile_ = false;
};

// A light on the map is a fresh copy of its prototype; only its place and burn time come from
// the record.
// The item prototypes do not change while the map is placed, so each name is looked up once:
// a map may hold a thousand lights of a few kinds.
class LightPrototypes {
public:
    std::shared_ptr<TLeuchte> copy_of(const std::string& name) {
        auto [found, fresh] = found_.try_emplace(name);
        if (fresh) found->second = TGegenstand::find_proto(name);
        const std::shared_ptr<TGegenstand>& prototype = found->second;
        return prototype ? std::dynamic_pointer_cast<TLeuchte>(clone_as(*prototype)) : nullptr;
    }

private:
    std::unordered_map<std::string, std::shared_ptr<TGegenstand>> found_;
};

void place_light(const std::string& file, const RecordLines& lines, const TLeuchte& record,
                 LightPrototypes& prototypes, LoadProblems& problems) {
    std::shared_ptr<TLeuchte> light = prototypes.copy_of(record.name);
    const int32_t line = line_of(lines, record);
    if (!light) {
        return problems.push_back({file, line,
                                   "the light " + shown_text(record.name) +
                                       at_text(record.x, record.y) +
                                       " names no light prototype; skipped"});
    }
    TKartenTile* tile = map_tile(record.x, record.y);
    if (tile == nullptr) {
        return problems.push_back({file, line,
                                   "the light " + shown_text(record.name) +
                                       at_text(record.x, record.y) +
                                       " lies outside the map; skipped"});
    }
    light->x = record.x;
    light->y = record.y;
    light->brenndauer = record.brenndauer;
    tile->gegenstaende()->append(light);
}

// Switches, doors and teleports stand in their tile's list and stay in map_records as well.
template <class Feature>
void place_all(const std::string& file, const RecordLines& lines, LoadProblems& problems) {
    map_records->for_each_of<Feature>([&](std::shared_ptr<Feature>& feature) {
        if (TKartenTile* tile = map_tile(feature->x, feature->y)) {
            tile->gegenstaende()->append(feature);
            return;
        }
        problems.push_back({file, line_of(lines, *feature),
                            "the " + TTypeId::Of<Feature>().Name() +
                                at_text(feature->x, feature->y) +
                                " lies outside the map; it stands on no tile"});
    });
}

}  // namespace

std::optional<LoadProblem> read_map_file(const std::string& file,
                                         const PlaceMonsters& place_monsters) {
    TextFileHandle in = open_text_file(file);
    if (!in) return LoadProblem{file, 0, "the file cannot be opened, so there is no map"};
    const std::string width_line = in->read_line();
    const std::string height_line = in->read_line();
    if (auto problem = size_problem(file, 1, "width", width_line)) return problem;
    if (auto problem = size_problem(file, 2, "height", height_line)) return problem;

    map_width = text_to_int(width_line);
    map_height = text_to_int(height_line);
    current_map = file;
    // Building a map object replaces every tile; the object itself is not needed afterwards.
    TKarte::construct();
    GridReader grid(file, *in);
    grid.read_rows();
    const int32_t records_offset = in->byte_position();
    grid.look_past_the_rows();
    close_file(in);
    RecordOrigins origins;
    int32_t told = 0;
    if (map_records) {
        const LoadProblems read =
            read_definitions_traced(*map_records, file, records_offset, origins);
        told = static_cast<int32_t>(std::count_if(
            read.begin(), read.end(), [&](const LoadProblem& p) { return p.file == file; }));
        report_load_problems(read);
    }
    RecordLines lines;
    for (const RecordOrigin& origin : origins) {
        if (origin.file == file) lines.emplace(origin.record.get(), origin.line);
    }
    // Lights go first, so a light stands ahead of any switch, door or teleport on its tile.
    LoadProblems placing = place_lights(file, lines);
    if (place_monsters) append(placing, place_monsters(file, lines));
    append(placing, place_features(file, lines));
    report_load_problems(at_most(file, std::max(kMostWarningsPerFile - told, 0), placing));
    return std::nullopt;
}

LoadProblems place_lights(const std::string& file, const RecordLines& lines) {
    LoadProblems problems;
    LightPrototypes prototypes;
    map_records->for_each_of<TLeuchte>([&](std::shared_ptr<TLeuchte>& record) {
        place_light(file, lines, *record, prototypes, problems);
        map_records->remove_visited(record.get());
    });
    return problems;
}

LoadProblems place_features(const std::string& file, const RecordLines& lines) {
    LoadProblems problems;
    place_all<TSchalter>(file, lines, problems);
    place_all<TDoor>(file, lines, problems);
    place_all<TTeleport>(file, lines, problems);
    map_records->for_each([&](RecordRef& record) {
        const std::string unplaced = unplaced_map_record(*record);
        if (!unplaced.empty()) problems.push_back({file, line_of(lines, *record), unplaced});
    });
    return problems;
}

}  // namespace grotmere
