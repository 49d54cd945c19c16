#include "world/tile_tracking.hpp"

#include <algorithm>

#include "records/record_list.hpp"
#include "world/karten_tile.hpp"
#include "world/world_state.hpp"

namespace grotmere {

void TileTracking::everything_changed() {
    objects_known_ = false;
    walk_everything_ = true;
    darken_everything_ = true;
}

const std::vector<MapCell>& TileTracking::cells_with_objects() {
    if (!objects_known_ || appends_known_ != RecordList::watched_appends() ||
        width_known_ != map_width || height_known_ != map_height)
        find_cells_with_objects();
    return with_objects_;
}

void TileTracking::find_cells_with_objects() {
    with_objects_.clear();
    const int32_t columns = std::clamp(map_width, 0, kGridSize);
    const int32_t rows = std::clamp(map_height, 0, kGridSize);
    for (int32_t x = 0; x < columns; ++x) {
        for (int32_t y = 0; y < rows; ++y) {
            const TKartenTile* tile = tile_grid.at(x, y);
            if (tile != nullptr && tile->gegenstaende && !tile->gegenstaende->empty())
                with_objects_.push_back({x, y});
        }
    }
    objects_known_ = true;
    appends_known_ = RecordList::watched_appends();
    width_known_ = map_width;
    height_known_ = map_height;
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
