#include "world/tile_tracking.hpp"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "records/record_list.hpp"
#include "world/door.hpp"
#include "world/karten_tile.hpp"
#include "world/leuchte.hpp"
#include "world/mobiliar.hpp"
#include "world/schalter.hpp"
#include "world/teleport.hpp"
#include "world/world_state.hpp"

namespace grotmere {

void TileTracking::everything_changed() {
    // Light values left to the light pass now wait for it as the darkening would have had them.
    if (light_left_) wait_for_light();
    ++light_epoch_;
    objects_known_ = false;
    seen_known_ = false;
    walk_everything_ = true;
    darken_everything_ = true;
    walls_.forget();
}

TileTracking::MapWords TileTracking::map_words() {
    const int32_t rows = std::clamp(map_height, 0, kGridSize);
    return {.columns = rows == 0 ? 0 : std::clamp(map_width, 0, kGridSize),
            .per_column = (rows + 63) / 64};
}

void TileTracking::begin_waiting_for_light() {
    forget_waiting_light();
    light_left_ = false;
    light_words_ = map_words();
    light_pending_ = true;
}

void TileTracking::wait_for_light() {
    begin_waiting_for_light();
    light_words_.for_each([this](size_t word) { waiting_light_[word] = marked_[word]; });
}

void TileTracking::wait_for_light_in(int32_t first_x, int32_t last_x, int32_t first_y,
                                     int32_t last_y) {
    first_y = std::max(first_y, 0);
    last_y = std::min(last_y, kGridSize - 1);
    for (int32_t x = std::max(first_x, 0); x <= std::min(last_x, kGridSize - 1); ++x) {
        for (int32_t y = first_y; y <= last_y; y += 64) {
            const int32_t rows = std::min(64, last_y - y + 1);
            const ColumnSpan span =
                span_of(x, y, rows == 64 ? ~uint64_t{0} : (uint64_t{1} << rows) - 1);
            waiting_light_[span.word] |= marked_[span.word] & span.first;
            if (span.next != 0) waiting_light_[span.word + 1] |= marked_[span.word + 1] & span.next;
        }
    }
}

const TileGrid& TileTracking::tile_grid_of_world() {
    return tile_grid;
}

void TileTracking::note_contents(TKartenTile& tile, MapCell cell, bool mark_shown) {
    const auto first = static_cast<uint32_t>(blockers_.size());
    bool switches = false, lights = false, teleports = false;
    tile.objects_if_any()->for_each([&](RecordRef& record) {
        if (const auto* piece = dynamic_cast<const TMobiliar*>(record.get()))
            blockers_.push_back({&piece->blocks, 1});
        else if (const auto* door = dynamic_cast<const TDoor*>(record.get()))
            blockers_.push_back({&door->open, 0});
        switches |= dynamic_cast<const TSchalter*>(record.get()) != nullptr;
        if (auto* light = dynamic_cast<TLeuchte*>(record.get())) {
            lying_lights_.push_back({light, cell});
            lights = true;
        }
        teleports |= dynamic_cast<const TTeleport*>(record.get()) != nullptr;
    });
    const auto count = static_cast<uint32_t>(blockers_.size()) - first;
    if (count > 0) blockable_.push_back({&tile, cell, first, count});
    const bool doors = std::any_of(blockers_.begin() + first, blockers_.end(),
                                   [](const Blocker& blocker) { return blocker.blocking == 0; });
    if (doors) with_doors_.push_back(cell);
    if ((doors || teleports) && mark_shown) mark(shown_, cell.x, cell.y);
    if (switches) with_switches_.push_back(cell);
    if (lights) with_lights_.push_back(cell);
}

const std::vector<MapCell>& TileTracking::cells_with_objects() {
    if (!objects_known_ || changes_known_ != RecordList::watched_changes() ||
        width_known_ != map_width || height_known_ != map_height)
        find_cells_with_objects();
    return with_objects_;
}

const std::vector<BlockableTile>& TileTracking::blockable_tiles() {
    cells_with_objects();
    return blockable_;
}

void TileTracking::collect_lists(bool mark_shown) {
    with_objects_.clear();
    with_doors_.clear();
    with_switches_.clear();
    with_lights_.clear();
    lying_lights_.clear();
    blockable_.clear();
    blockers_.clear();
    const int32_t columns = std::clamp(map_width, 0, kGridSize);
    const int32_t rows = std::clamp(map_height, 0, kGridSize);
    for (int32_t x = 0; x < columns; ++x) {
        for (int32_t y = 0; y < rows; ++y) {
            TKartenTile* tile = tile_grid.at(x, y);
            if (tile == nullptr || !tile->holds_objects()) continue;
            with_objects_.push_back({x, y});
            note_contents(*tile, {x, y}, mark_shown);
        }
    }
}

void TileTracking::find_cells_with_objects() {
    shown_.fill(0);
    collect_lists(true);
    objects_known_ = true;
    changes_known_ = RecordList::watched_changes();
    // A tile that lost its last door or furniture is no longer among the blockable ones, yet the
    // walkability a closed door gave it must be undone: the next update walks the whole map.
    walk_everything_ = true;
    width_known_ = map_width;
    height_known_ = map_height;
}

void TileTracking::learn_seen() {
    const int32_t columns = std::clamp(map_width, 0, kGridSize);
    const int32_t rows = std::clamp(map_height, 0, kGridSize);
    for (int32_t x = 0; x < columns; ++x) {
        for (int32_t y = 0; y < rows; ++y) {
            const TKartenTile* tile = tile_grid.at(x, y);
            if (tile != nullptr && tile->sichtbar != 0) mark(seen_, x, y);
        }
    }
    seen_known_ = true;
}

namespace {

[[noreturn]] void broken(const char* what, int32_t x, int32_t y) {
    throw std::logic_error(std::string("the tile tracker was not told: ") + what + " at (" +
                           std::to_string(x) + "|" + std::to_string(y) + ")");
}

bool same_cells(const std::vector<MapCell>& a, const std::vector<MapCell>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](MapCell p, MapCell q) { return p.x == q.x && p.y == q.y; });
}

}  // namespace

void TileTracking::verify_marks() {
    const int32_t columns = std::clamp(map_width, 0, kGridSize);
    const int32_t rows = std::clamp(map_height, 0, kGridSize);
    const int32_t wall = walls_.known() ? walls_.first_difference(tile_grid, columns, rows) : -1;
    if (wall >= 0) broken("a tile's walkability", wall / kGridSize, wall % kGridSize);
    if (darken_everything_) return;
    for (int32_t x = 0; x < columns; ++x) {
        for (int32_t y = 0; y < rows; ++y) {
            const TKartenTile* tile = tile_grid.at(x, y);
            if (tile == nullptr) continue;
            const bool marked = (marked_[bit_word(x, y)] & bit_of(x, y)) != 0;
            if (!marked && (tile->sichtbar | tile->lichtstaerke | tile->lichtr | tile->lichtg |
                            tile->lichtb) != 0)
                broken("a tile seen or lit", x, y);
            if (seen_known_ && tile->sichtbar != 0 && (seen_[bit_word(x, y)] & bit_of(x, y)) == 0)
                broken("a tile seen", x, y);
        }
    }
}

void TileTracking::verify_lists() {
    cells_with_objects();
    // The kept lists wait aside while a walk over the map rectangle finds them anew.
    std::vector<MapCell> objects, doors, switches, lights;
    std::vector<LyingLight> lying;
    std::vector<BlockableTile> blockable;
    std::vector<Blocker> blockers;
    const auto swap_lists = [&] {
        with_objects_.swap(objects);
        with_doors_.swap(doors);
        with_switches_.swap(switches);
        with_lights_.swap(lights);
        lying_lights_.swap(lying);
        blockable_.swap(blockable);
        blockers_.swap(blockers);
    };
    swap_lists();
    collect_lists(false);
    const bool same =
        same_cells(objects, with_objects_) && same_cells(doors, with_doors_) &&
        same_cells(switches, with_switches_) && same_cells(lights, with_lights_) &&
        std::equal(lying.begin(), lying.end(), lying_lights_.begin(), lying_lights_.end(),
                   [](const LyingLight& a, const LyingLight& b) { return a.light == b.light; });
    const MapCell first = with_objects_.empty() ? MapCell{0, 0} : with_objects_.front();
    swap_lists();
    if (!same) broken("a tile list changed", first.x, first.y);
}

bool TileTracking::take_whole_walkability() {
    // A map that grew has tiles no update has seen yet.
    const bool whole = walk_everything_ || walk_width_ != map_width || walk_height_ != map_height;
    walk_everything_ = false;
    walk_width_ = map_width;
    walk_height_ = map_height;
    return whole;
}

}  // namespace grotmere
