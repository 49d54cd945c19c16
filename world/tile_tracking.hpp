// What the whole-map walks of a turn and of a pass actually have to visit. Almost every tile of a
// large map holds no object and is neither seen nor lit, and for such a tile the walkability
// update, the darkening and the door, switch and light passes have nothing to change. So the map
// keeps
// - the cells whose tile holds objects, column by column and each column from the top, the order
//   of every whole-map walk, and among them the tiles whose doors or furniture can block them,
//   with the flags that decide it; both are worked out again when a tile list changes (tile lists
//   count their changes), when the tiles are replaced or the map changes size;
// - the cells whose sight or light values the rules have set since the last darkening.
// A tile without objects is walkable exactly when it is not rock, and the rules keep it so (the
// map file and randomfill write both values); code outside the rules that writes a tile's terrain,
// walkability, sight or light values directly says so with everything_changed(), and the next
// update and darkening walk the whole map again.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "world/sight_walls.hpp"
#include "world/tile_grid.hpp"

namespace grotmere {

class TKartenTile;
class TLeuchte;

struct MapCell {
    int32_t x, y;
};

// A flag of a door or a piece of furniture on a tile: the tile is blocked while it holds
// `blocking` (a door's open at 0, furniture's blocks at 1).
struct Blocker {
    const int32_t* flag;
    int32_t blocking;
};

// A light lying on the tile at `cell`.
struct LyingLight {
    TLeuchte* light;
    MapCell cell;
};

// A tile holding doors or furniture and the range of its blockers in blockers().
struct BlockableTile {
    TKartenTile* tile;
    MapCell cell;
    uint32_t first, count;
};

class TileTracking {
public:
    // The tiles were replaced, or changed by code outside the rules: walk everything once more.
    void everything_changed();

    // The cells of the map rectangle whose tile holds at least one object, x outer, y inner.
    // Walks over it go by position and read its size on every step: nothing a walk does adds an
    // object, but should it, the list is worked out again and the walk goes on over the new one.
    const std::vector<MapCell>& cells_with_objects();
    // The same, cut to the cells holding at least one door, switch or light: the passes of a turn
    // over one kind of object visit only these, in the same order.
    const std::vector<MapCell>& cells_with_doors() { return kept_up(with_doors_); }
    const std::vector<MapCell>& cells_with_switches() { return kept_up(with_switches_); }
    const std::vector<MapCell>& cells_with_lights() { return kept_up(with_lights_); }
    // The lights on those cells, in that order and each tile's in list order. The pointers hold
    // while no tile list changes and the tiles are not replaced, which is checked on every call.
    const std::vector<LyingLight>& lying_lights() {
        cells_with_objects();
        return lying_lights_;
    }
    // Whether (x, y) holds a door or a teleport, the objects a map shows. Asked for every cell of
    // the view in every frame; bring_up_to_date() first, once per frame.
    bool holds_door_or_teleport(int32_t x, int32_t y) const {
        return TileGrid::in_grid(x, y) && (shown_[bit_word(x, y)] & bit_of(x, y)) != 0;
    }
    void bring_up_to_date() { cells_with_objects(); }
    // Whether the tile at (x, y) may hold a teleport: false only where it holds none.
    bool may_hold_teleport(int32_t x, int32_t y) {
        cells_with_objects();
        return !TileGrid::in_grid(x, y) || holds_door_or_teleport(x, y);
    }

    // The tiles that doors or furniture can block, and their blockers; the references hold while
    // no tile list changes and the tiles are not replaced, which is checked on every call.
    const std::vector<BlockableTile>& blockable_tiles();
    const std::vector<Blocker>& blockers() const { return blockers_; }

    // The rules lit (x, y), or saw it: set its light or sight values, which the next darkening
    // resets.
    void lit(int32_t x, int32_t y) { mark(marked_, x, y); }
    void seen(int32_t x, int32_t y) {
        mark(marked_, x, y);
        mark(seen_, x, y);
    }
    // The same for the cells of a square whose first column and row are first_x and first_y:
    // `rows(c)` answers the bits of the square's column c, row r at bit r.
    template <class Rows>
    void seen_columns(int32_t first_x, int32_t first_y, int32_t columns, Rows&& rows) {
        for (int32_t c = 0; c < columns; ++c) {
            const ColumnSpan span = span_of(first_x + c, first_y, rows(c));
            span.add_to(marked_);
            span.add_to(seen_);
        }
    }

    // The cells that stop sight and light and those a monster may step on, read from the tiles
    // again after a change outside the rules. A write of a tile's walkability says what it
    // changed with wall_changed.
    const SightWalls& sight_walls() {
        if (!walls_.known()) walls_.learn(tile_grid_of_world());
        return walls_;
    }
    void wall_changed(int32_t x, int32_t y, const TKartenTile& tile) {
        if (walls_.known() && TileGrid::in_grid(x, y)) walls_.set(x, y, &tile);
    }
    // A walk that set the walkability of every tile: the walls are read again when next asked.
    void walls_rewritten() { walls_.forget(); }

    // Whether (x, y) may hold a sichtbar other than 0. Asked for every monster of a large map in
    // every frame, and far cheaper to ask than the tile itself. After a change outside the rules
    // the tiles are read once to know it again.
    bool may_be_seen(int32_t x, int32_t y) {
        if (!seen_known_) learn_seen();
        return TileGrid::in_grid(x, y) && (seen_[bit_word(x, y)] & bit_of(x, y)) != 0;
    }

    // With contracts checked (platform/platform.hpp), the darkening and the walkability update
    // compare what the tracker names with a walk over the whole map before they trust it, and a
    // difference throws std::logic_error: a tile changed without a word to the tracker fails
    // loudly instead of staying lit, seen or walkable. Throws when a tile of the map holds sight
    // or light values the darkening of the marked cells would leave, is seen where may_be_seen
    // says no, or stops sight where the walls say otherwise.
    void verify_marks();
    // Throws when the tiles holding objects, doors, switches or lights are not the ones a fresh
    // walk over the map finds.
    void verify_lists();

    // Whether the walkability update must walk every tile this time; true once after a change.
    bool take_whole_walkability();
    // Calls reset(x, y) for every cell that darkening must reset and forgets them, or answers
    // false when the whole map must be darkened this time.
    template <class Reset>
    bool darken_marked(Reset&& reset);

    // The turn's darkening in two halves. The sight half calls reset(x, y) for every seen cell
    // now (false as darken_marked). The light values of the cells marked so far wait for the
    // light pass: the first light to reach such a cell resets it, which costs no second fetch of
    // its tile, and the pass's end resets those no light reached. Nothing reads a light value in
    // between.
    template <class Reset>
    bool darken_seen(Reset&& reset, bool leave_light = false);
    // Marks the cells of column x, rows first_y + r for the bits r of `rows`, as lit, and answers
    // those among them whose light values still wait for the darkening, which they no longer do.
    uint64_t light_column(int32_t x, int32_t first_y, uint64_t rows);
    // The same for one cell.
    bool light_cell(int32_t x, int32_t y) {
        lit(x, y);
        if (!light_pending_ || !TileGrid::in_grid(x, y)) return false;
        uint64_t& word = waiting_light_[bit_word(x, y)];
        const bool waiting = (word & bit_of(x, y)) != 0;
        word &= ~bit_of(x, y);
        return waiting;
    }
    template <class Reset>
    void finish_light_darkening(Reset&& reset);

    // The light values a darkening left for the light pass to account for: darken_seen with
    // `leave_light`, which the light pass's kept shinings stand in for. A change outside the
    // rules makes the marked cells wait for the light pass after all (wait_for_light).
    bool light_left() const { return light_left_; }
    void keep_light() { light_left_ = false; }
    // The light values of the marked cells wait for the light pass, as darken_seen leaves them;
    // the rectangle's marked cells only, after begin_waiting_for_light.
    void wait_for_light();
    void begin_waiting_for_light();
    void wait_for_light_in(int32_t first_x, int32_t last_x, int32_t first_y, int32_t last_y);
    bool light_pending() const { return light_pending_; }
    // Changes whenever light values may have changed other than by the light pass: a darkening
    // of them, or a change outside the rules.
    uint64_t light_epoch() const { return light_epoch_; }

private:
    static constexpr size_t kWords = static_cast<size_t>(kGridSize) * kGridSize / 64;
    static size_t bit_word(int32_t x, int32_t y) { return cell_number(x, y) / 64; }
    static uint64_t bit_of(int32_t x, int32_t y) { return uint64_t{1} << (cell_number(x, y) % 64); }
    static size_t cell_number(int32_t x, int32_t y) {
        return static_cast<size_t>(x) * kGridSize + static_cast<size_t>(y);
    }
    static const TileGrid& tile_grid_of_world();
    void find_cells_with_objects();
    // The lists found by a walk over the map rectangle, and with `mark_shown` the cells shown.
    void collect_lists(bool mark_shown);
    void learn_seen();
    void note_contents(TKartenTile& tile, MapCell cell, bool mark_shown);
    const std::vector<MapCell>& kept_up(const std::vector<MapCell>& cells) {
        cells_with_objects();
        return cells;
    }

    std::vector<MapCell> with_objects_, with_doors_, with_switches_, with_lights_;
    std::vector<LyingLight> lying_lights_;
    std::vector<BlockableTile> blockable_;
    std::vector<Blocker> blockers_;
    bool objects_known_ = false;
    int64_t changes_known_ = 0;
    int32_t width_known_ = -1, height_known_ = -1;
    int32_t walk_width_ = -1, walk_height_ = -1;
    bool walk_everything_ = true;
    bool darken_everything_ = true;
    using CellBits = std::array<uint64_t, kWords>;
    static void mark(CellBits& bits, int32_t x, int32_t y) {
        if (TileGrid::in_grid(x, y)) bits[bit_word(x, y)] |= bit_of(x, y);
    }
    // The bits of one column's rows among the cell bits: the word of its first row, and what
    // falls into that word and the next.
    struct ColumnSpan {
        size_t word = 0;
        int32_t offset = 0, shift = 0;
        uint64_t first = 0, next = 0;

        void add_to(CellBits& bits) const {
            bits[word] |= first;
            if (next != 0) bits[word + 1] |= next;
        }
        // The span's rows set in `bits`, in the frame of the rows asked for, cleared in `bits`.
        uint64_t take_from(CellBits& bits) const {
            uint64_t taken = (bits[word] & first) >> offset;
            bits[word] &= ~first;
            if (next != 0) {
                taken |= (bits[word + 1] & next) << (64 - offset);
                bits[word + 1] &= ~next;
            }
            return taken << shift;
        }
    };
    static ColumnSpan span_of(int32_t x, int32_t first_y, uint64_t rows);

    // The words of the cell bits that hold cells of the map rectangle: of each of its columns,
    // those from row 0 to its last row. A cell outside the rectangle is never darkened and stays
    // marked, so the darkening's walks need not visit the other words.
    struct MapWords {
        int32_t columns = 0, per_column = 0;

        template <class Visit>
        void for_each(Visit&& visit) const {
            for (int32_t x = 0; x < columns; ++x) {
                const size_t first = static_cast<size_t>(x) * kWordsPerColumn;
                for (size_t word = first; word < first + static_cast<size_t>(per_column); ++word)
                    visit(word);
            }
        }
    };
    static constexpr int32_t kWordsPerColumn = kGridSize / 64;
    static MapWords map_words();

    // The cells holding a door or a teleport, with the lists above.
    CellBits shown_{};
    // The cells seen or lit since the last darkening, and among them the seen ones. seen_ holds
    // every cell whose sichtbar is not 0 while seen_known_ is true.
    CellBits marked_{};
    CellBits seen_{};
    bool seen_known_ = false;
    // The cells whose light values wait for the light pass's darkening (darken_seen), all of them
    // in the words of light_words_; the other words are 0.
    CellBits waiting_light_{};
    bool light_pending_ = false;
    MapWords light_words_;
    bool light_left_ = false;
    uint64_t light_epoch_ = 0;
    void forget_waiting_light() {
        light_pending_ = false;
        light_words_.for_each([this](size_t word) { waiting_light_[word] = 0; });
    }
    SightWalls walls_;
};

inline TileTracking::ColumnSpan TileTracking::span_of(int32_t x, int32_t first_y, uint64_t rows) {
    ColumnSpan span;
    if (rows == 0 || x < 0 || x >= kGridSize) return span;
    // Rows above the grid hold no marks; a column's cells follow each other in the bits.
    if (first_y < 0) {
        span.shift = -first_y;
        rows = span.shift < 64 ? rows >> span.shift : 0;
        first_y = 0;
    }
    if (first_y >= kGridSize) return span;
    rows &= first_y + 64 <= kGridSize ? ~uint64_t{0} : (uint64_t{1} << (kGridSize - first_y)) - 1;
    const size_t cell = cell_number(x, first_y);
    span.word = cell / 64;
    span.offset = static_cast<int32_t>(cell % 64);
    span.first = rows << span.offset;
    span.next = span.offset != 0 && span.word + 1 < kWords ? rows >> (64 - span.offset) : 0;
    return span;
}

inline uint64_t TileTracking::light_column(int32_t x, int32_t first_y, uint64_t rows) {
    const ColumnSpan span = span_of(x, first_y, rows);
    span.add_to(marked_);
    if (!light_pending_) return 0;
    return span.take_from(waiting_light_);
}

template <class Reset>
bool TileTracking::darken_marked(Reset&& reset) {
    // Every marked cell is darkened here, those whose light waited among them.
    forget_waiting_light();
    light_left_ = false;
    ++light_epoch_;
    if (darken_everything_) {
        darken_everything_ = false;
        marked_.fill(0);
        seen_.fill(0);
        seen_known_ = true;
        return false;
    }
    map_words().for_each([&](size_t word) {
        uint64_t bits = marked_[word];
        if (bits == 0) return;
        // A marked cell outside the map rectangle is not darkened and stays marked.
        uint64_t kept = 0;
        while (bits != 0) {
            const int bit = __builtin_ctzll(bits);
            bits &= bits - 1;
            const size_t cell = word * 64 + static_cast<size_t>(bit);
            const auto x = static_cast<int32_t>(cell / kGridSize);
            const auto y = static_cast<int32_t>(cell % kGridSize);
            if (reset(x, y)) continue;
            kept |= uint64_t{1} << bit;
        }
        marked_[word] = kept;
        seen_[word] &= kept;
    });
    return true;
}

template <class Reset>
bool TileTracking::darken_seen(Reset&& reset, bool leave_light) {
    if (darken_everything_) return false;
    // Without the seen cells known, every marked cell is reset: sichtbar is 0 on all others. A
    // cell outside the map stays seen, so the words the walk leaves keep their bits.
    if (!seen_known_) seen_ = marked_;
    if (leave_light) {
        light_left_ = true;
    } else {
        begin_waiting_for_light();
    }
    map_words().for_each([&](size_t word) {
        uint64_t kept = 0;
        for (uint64_t bits = seen_[word]; bits != 0; bits &= bits - 1) {
            const int bit = __builtin_ctzll(bits);
            const size_t cell = word * 64 + static_cast<size_t>(bit);
            if (!reset(static_cast<int32_t>(cell / kGridSize),
                       static_cast<int32_t>(cell % kGridSize)))
                kept |= uint64_t{1} << bit;
        }
        seen_[word] = kept;
        if (!leave_light) waiting_light_[word] = marked_[word];
    });
    seen_known_ = true;
    return true;
}

template <class Reset>
void TileTracking::finish_light_darkening(Reset&& reset) {
    if (!light_pending_) return;
    light_pending_ = false;
    light_words_.for_each([&](size_t word) {
        uint64_t forgotten = 0;
        for (uint64_t bits = waiting_light_[word]; bits != 0; bits &= bits - 1) {
            const int bit = __builtin_ctzll(bits);
            const size_t cell = word * 64 + static_cast<size_t>(bit);
            // A cell outside the map rectangle is not darkened and stays marked.
            if (reset(static_cast<int32_t>(cell / kGridSize),
                      static_cast<int32_t>(cell % kGridSize)))
                forgotten |= uint64_t{1} << bit;
        }
        waiting_light_[word] = 0;
        marked_[word] &= ~(forgotten & ~seen_[word]);
    });
}

}  // namespace grotmere
