// The game's state, root by root: the one list that both the dump and the checkpoints' digest
// read, so a piece of state the dump shows can never be forgotten by the checkpoints. A root is a
// number, a text, texts, a record, a list of records or the map's tiles; each record is read
// through the registry with every field its type registers. The random generator's state is a
// root the dump leaves out (the dump's format is fixed) and the digest takes in.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

#include "records/record.hpp"
#include "world/karten_tile.hpp"
#include "world/world_state.hpp"

namespace grotmere {

class StateReader {
public:
    virtual ~StateReader() = default;
    virtual void number(const char* name, int64_t value) = 0;
    virtual void text(const char* name, const std::string& text) = 0;
    virtual void texts(const char* name, const std::string* first, size_t count) = 0;
    // A record that may be absent (null).
    virtual void record(const char* name, const Record* record) = 0;
    virtual void list(const char* name, const RecordList& list) = 0;
    // The map's tiles; for_each_map_tile walks them.
    virtual void tiles(const char* name) = 0;
    // The random generator's state, which the dump does not hold.
    virtual void random_state(int32_t state) = 0;
};

// Every root, in the dump's order.
void read_state_roots(StateReader& reader);

// Each column of the map's rectangle, left to right: its tiles, row 0 first, side by side.
template <class Visit>
void for_each_map_column(Visit&& visit) {
    const int32_t width = std::clamp(map_width, 0, kGridSize);
    const int32_t rows = std::min(std::clamp(map_height, 0, kGridSize), tile_grid.rows());
    for (int32_t x = 0; x < width; ++x) {
        const TKartenTile* column = tile_grid.column(x);
        if (column != nullptr && rows > 0) visit(column, rows);
    }
}

// Every tile of the map's rectangle, column after column, with its place.
template <class Visit>
void for_each_map_tile(Visit&& visit) {
    int32_t x = 0;
    for_each_map_column([&](const TKartenTile* column, int32_t rows) {
        for (int32_t y = 0; y < rows; ++y)
            visit(x, y, column[y]);
        ++x;
    });
}

}  // namespace grotmere
