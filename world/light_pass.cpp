#include "world/light_pass.hpp"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "platform/platform.hpp"
#include "world/karten_tile.hpp"
#include "world/tile_writes.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

// Beyond this many changed squares, lighting every cell costs little more.
constexpr size_t kMostChangedSquares = 32;

// Whether the square of the shining, before it is cut to the map, meets the rectangle.
bool may_reach(const LightShine& shine, const CellRect& rect) {
    const int64_t reach = shine.reach;
    return int64_t{shine.x} + reach >= rect.first_x && int64_t{shine.x} - reach <= rect.last_x &&
           int64_t{shine.y} + reach >= rect.first_y && int64_t{shine.y} - reach <= rect.last_y;
}

}  // namespace

bool KeptLight::stands_for_darkening() const {
    return valid_ && epoch_ == tile_tracking.light_epoch();
}

void KeptLight::begin() {
    next_ = 0;
    changed_.clear();
    every_cell_ = false;
    if (stands_for_darkening() && tile_tracking.light_left()) {
        mode_ = Mode::Changes;
        return;
    }
    // The tiles hold light the kept shinings do not account for: the darkening left to the pass
    // is done the plain way, each marked cell reset by the first light that reaches it.
    if (tile_tracking.light_left()) tile_tracking.wait_for_light();
    mode_ = Mode::AtOnce;
    // Only a pass that starts from darkness leaves the tiles as its shinings added to zeros.
    from_darkness_ = tile_tracking.light_pending();
    kept_.clear();
}

void KeptLight::shine(const TLeuchte& light, int32_t x, int32_t y) {
    LightShine shine = shine_of(light, x, y);
    switch (mode_) {
        case Mode::Outside:
            if (tile_tracking.light_left()) tile_tracking.wait_for_light();
            shine_on_tiles(shine);
            valid_ = false;
            return;
        case Mode::AtOnce:
            shine_on_tiles(shine);
            kept_.push_back(shine);
            return;
        case Mode::Changes:
            add(shine);
    }
}

void KeptLight::stay_dark() {
    if (mode_ == Mode::AtOnce) kept_.push_back(dark_shine());
    if (mode_ == Mode::Changes) add(dark_shine());
}

// The shining takes the place of the last pass's at the same place in the order; where they
// differ, both squares are lit again.
void KeptLight::add(LightShine shine) {
    if (next_ == kept_.size()) {
        every_cell_ = true;
        kept_.push_back(shine);
        ++next_;
        return;
    }
    LightShine& before = kept_[next_++];
    if (!every_cell_ && !shines_alike(before, shine)) {
        for (const CellRect square : {reach_of(before), reach_of(shine)}) {
            if (!square.empty()) changed_.push_back(square);
        }
        every_cell_ = changed_.size() > kMostChangedSquares;
    }
    before = shine;
}

void KeptLight::end() {
    if (mode_ == Mode::Changes) {
        if (next_ != kept_.size()) {
            every_cell_ = true;
            kept_.resize(next_);
        }
        if (every_cell_) {
            light_every_cell();
        } else if (!changed_.empty()) {
            light_changed_cells();
        } else {
            tile_tracking.keep_light();
        }
    } else if (mode_ == Mode::AtOnce) {
        finish_light_darkening();
        valid_ = from_darkness_;
    }
    mode_ = Mode::Outside;
    epoch_ = tile_tracking.light_epoch();
    if (valid_ && contracts_checked()) check();
}

void KeptLight::light_changed_cells() {
    tile_tracking.begin_waiting_for_light();
    for (const CellRect& square : changed_)
        tile_tracking.wait_for_light_in(square.first_x, square.last_x, square.first_y,
                                        square.last_y);
    // Most lights lie far from every changed square: the rectangle around them all turns those
    // away before their own squares are worked out.
    CellRect around = changed_.front();
    for (const CellRect& changed : changed_) {
        around = {
            std::min(around.first_x, changed.first_x), std::max(around.last_x, changed.last_x),
            std::min(around.first_y, changed.first_y), std::max(around.last_y, changed.last_y)};
    }
    for (LightShine& shine : kept_) {
        if (!may_reach(shine, around)) continue;
        const CellRect square = reach_of(shine);
        for (const CellRect& changed : changed_) {
            if (!square.meets(changed)) continue;
            shine_on_tiles_within(shine, changed_);
            break;
        }
    }
    finish_light_darkening();
}

void KeptLight::light_every_cell() {
    tile_tracking.wait_for_light();
    for (LightShine& shine : kept_)
        shine_on_tiles(shine);
    finish_light_darkening();
}

// Every tile of the map holds what the kept shinings add to zeros.
void KeptLight::check() const {
    static LightField field;
    field.clear(map_width, map_height);
    for (LightShine shine : kept_) {
        // The cells worked out anew from the walls, not taken from the last passes.
        shine.lit_known = false;
        shine_into(shine, field);
    }
    for (int32_t x = 0; x < field.width(); ++x) {
        for (int32_t y = 0; y < field.height(); ++y) {
            const TKartenTile* tile = tile_grid.at(x, y);
            if (tile == nullptr) continue;
            const int32_t* wanted = field.at(x, y);
            if (tile->lichtstaerke == wanted[0] && tile->lichtr == wanted[1] &&
                tile->lichtg == wanted[2] && tile->lichtb == wanted[3])
                continue;
            throw std::logic_error("the light kept at (" + std::to_string(x) + "|" +
                                   std::to_string(y) + ") is " +
                                   std::to_string(tile->lichtstaerke) + ", the lights give " +
                                   std::to_string(wanted[0]));
        }
    }
}

void begin_light_pass() {
    kept_light.begin();
}

void shine_light(const TLeuchte& light, int32_t x, int32_t y) {
    kept_light.shine(light, x, y);
}

void light_stays_dark() {
    kept_light.stay_dark();
}

void end_light_pass() {
    kept_light.end();
}

}  // namespace grotmere
