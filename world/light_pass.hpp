// The light pass of a turn, and what it keeps of the last one. A cell's light values are the
// shares of the lights that reach it, added in the pass's order to zeros; lights lying on the map
// shine alike from turn to turn, so the pass keeps the shinings of the last one and, when the
// turn's darkening left the tiles to it (TileTracking::darken_seen), works out again only the
// cells whose lights changed: those in the squares of the shinings that differ from the last
// pass's, the one at the same place in the order. A change of how many lights shine, of the
// walls' reach into many squares, or anything the pass was not told of (a whole darkening, a
// change outside the rules, a light shone outside the pass) makes it light every cell again.
//
// update_lights (actors/world_passes.hpp) opens and closes the pass; TLeuchte::erleuchte shines
// through it. With contracts checked (platform/platform.hpp) each pass that keeps its shinings
// adds them to a field of zeros and compares it with every tile of the map.
#pragma once

#include <cstdint>
#include <vector>

#include "world/light_shining.hpp"

namespace grotmere {

class TLeuchte;

class KeptLight {
public:
    // Whether the tiles' light values are the last pass's shinings added to zeros, and so may
    // stand in for the darkening of the turn.
    bool stands_for_darkening() const;

    // Whether a light shines on the tiles as it is asked to, rather than at the pass's end.
    bool shines_at_once() const { return mode_ != Mode::Changes; }

    // The next pass lights every cell, as if it had kept nothing.
    void forget() { valid_ = false; }

    void begin();
    void shine(const TLeuchte& light, int32_t x, int32_t y);
    void stay_dark();
    void end();

private:
    enum class Mode { Outside, AtOnce, Changes };

    void add(LightShine shine);
    void light_changed_cells();
    void light_every_cell();
    void check() const;

    Mode mode_ = Mode::Outside;
    // The shinings of the last pass, and in a pass of changes how far this one has come.
    std::vector<LightShine> kept_;
    size_t next_ = 0;
    // The squares whose cells are lit again; too many of them, or a different number of
    // shinings, and every cell is.
    std::vector<CellRect> changed_;
    bool every_cell_ = false;
    bool valid_ = false;
    bool from_darkness_ = false;
    uint64_t epoch_ = 0;
};

// The pass's steps: every light shines between begin_light_pass and end_light_pass, a light that
// does not shine says so with light_stays_dark, so the lights keep their places in the order.
// Outside a pass a light shines on the tiles at once.
void begin_light_pass();
void shine_light(const TLeuchte& light, int32_t x, int32_t y);
void light_stays_dark();
void end_light_pass();

}  // namespace grotmere
