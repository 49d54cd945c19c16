// The map view: what a camera shows of the map, drawn cell by cell, then the monsters in sight,
// heaps and missiles, the player and the border. TKamera's drawing members live here; the camera
// record and its rules live in world/kamera.cpp.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "actors/gegner.hpp"
#include "actors/geschoss.hpp"
#include "actors/player.hpp"
#include "actors/treasure.hpp"
#include "platform/drawing.hpp"
#include "view/map_cells.hpp"
#include "world/door.hpp"
#include "world/kamera.hpp"
#include "world/karte.hpp"
#include "world/karten_tile.hpp"
#include "world/teleport.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

constexpr int32_t kCellSize = 10;
// Cell squares sit 2 pixels below the cell's glyph position.
constexpr int32_t kCellDrop = 2;

struct Colour {
    int32_t r, g, b;
};

// The map columns x0 <= x < x1 and rows y0 <= y < y1 a camera shows.
struct ViewWindow {
    int32_t x0, x1, y0, y1;

    bool contains(int32_t x, int32_t y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
};

// Centred on the origin; at the map's edges the window slides inwards rather than showing cells
// beyond the edge, unless the map is smaller than the window.
ViewWindow view_window(const TKamera& camera) {
    const int32_t half_width = camera.cam_b / 20;
    const int32_t half_height = camera.cam_h / 20;
    ViewWindow w{camera.origin_x - half_width, camera.origin_x + half_width,
                 camera.origin_y - half_height, camera.origin_y + half_height};
    if (w.x0 < 0) {
        w.x1 = w.x1 - w.x0;
        w.x0 = 0;
        if (w.x1 > map_width) w.x1 = map_width;
    }
    if (w.y0 < 0) {
        w.y1 = w.y1 - w.y0;
        w.y0 = 0;
        if (w.y1 > map_height) w.y1 = map_height;
    }
    if (w.x1 > map_width) {
        w.x0 = w.x0 - (w.x1 - map_width);
        w.x1 = map_width;
        if (w.x0 < 0) w.x0 = 0;
    }
    if (w.y1 > map_height) {
        w.y0 = w.y0 - (w.y1 - map_height);
        w.y1 = map_height;
        if (w.y0 < 0) w.y0 = 0;
    }
    return w;
}

class ViewPainter {
public:
    ViewPainter(const TKamera& camera, ViewWindow window) : camera_(camera), window_(window) {}

    void background() const {
        set_color(30, 30, 30);
        draw_rect(camera_.cam_x, camera_.cam_y, camera_.cam_b, camera_.cam_h);
    }

    void cells() const {
        // The window always lies inside the map; the bounds only keep a strange camera (or
        // wrapped arithmetic on a far-off origin) from walking outside the grid.
        const int32_t first_x = std::max(window_.x0, 0);
        const int32_t end_x = std::min({window_.x1, map_width, kGridSize});
        const int32_t first_y = std::max(window_.y0, 0);
        const int32_t end_y = std::min({window_.y1, map_height, kGridSize});
        tile_tracking.bring_up_to_date();
        for (int32_t x = first_x; x < end_x; ++x) {
            for (int32_t y = first_y; y < end_y; ++y) {
                if (const TKartenTile* tile = tile_grid.at(x, y)) cell(*tile, x, y);
            }
        }
    }

    // A monster outside the window draws nothing, so its tile is not looked at (nor its colour
    // set, which the next glyph's colour replaces).
    void monsters_in_sight() const {
        monsters->look_at_each<TGegner>([&](const TGegner& monster) {
            if (monster.name.empty() || !window_.contains(monster.x, monster.y)) return;
            if (!tile_tracking.may_be_seen(monster.x, monster.y)) return;
            const TKartenTile* tile = map_tile(monster.x, monster.y);
            if (tile == nullptr || tile->sichtbar == 0) return;
            // A monster in the dark shows only when it stands right beside the player.
            if (tile->lichtstaerke <= 0 && !next_to_player(monster.x, monster.y)) return;
            set_color(155 + tile->lichtstaerke, 0, 0);
            glyph(std::string(1, monster.name[0]), monster.x, monster.y);
        });
    }

    // Heaps and missiles show whether or not their cell is seen.
    void treasures_and_missiles() const {
        set_color(255, 255, 0);
        treasures->look_at_each<TTreasure>(
            [&](const TTreasure& heap) { glyph("T", heap.x, heap.y); });
        set_color(0, 0, 255);
        missiles->look_at_each<TGeschoss>(
            [&](const TGeschoss& missile) { glyph("*", missile.x, missile.y); });
    }

    void the_player() const {
        set_color(0, 255, 0);
        if (player) glyph("Q", player->x, player->y);
    }

    void border() const {
        if (camera_.border == 0) return;
        const int32_t left = camera_.cam_x;
        const int32_t top = camera_.cam_y;
        const int32_t right = camera_.cam_x + camera_.cam_b;
        const int32_t bottom = camera_.cam_y + camera_.cam_h;
        set_color(100, 150, 100);
        if (window_.x0 == 0) draw_line(left, top, left, bottom);
        if (window_.y0 == 0) draw_line(left, top, right, top);
        if (window_.x1 == map_width) draw_line(right, top, right, bottom);
        if (window_.y1 == map_height) draw_line(left, bottom, right, bottom);
    }

private:
    int32_t screen_x(int32_t x) const { return camera_.cam_x + (x - window_.x0) * kCellSize; }
    int32_t screen_y(int32_t y) const { return camera_.cam_y + (y - window_.y0) * kCellSize; }

    void square(int32_t x, int32_t y, Colour colour) const {
        set_color(colour.r, colour.g, colour.b);
        draw_rect(screen_x(x), screen_y(y) + kCellDrop, kCellSize, kCellSize);
    }

    // Glyphs stand at the cell's corner, without the squares' 2-pixel drop.
    void glyph(const std::string& text, int32_t x, int32_t y) const {
        if (window_.contains(x, y)) draw_text(text, screen_x(x), screen_y(y));
    }

    static bool next_to_player(int32_t x, int32_t y) {
        return player && std::llabs(int64_t{x} - player->x) <= 1 &&
               std::llabs(int64_t{y} - player->y) <= 1;
    }

    // Floor shows brighter when seen now than when only remembered; corridors remember darker.
    static Colour floor_colour(const TKartenTile& tile, int32_t remembered_base, Colour light) {
        Colour colour{50, 50, 50};
        if (tile.erfasst != 0) {
            colour = {remembered_base + light.r, remembered_base + light.g,
                      remembered_base + light.b};
        }
        if (tile.sichtbar != 0) colour = {100 + light.r, 100 + light.g, 100 + light.b};
        return colour;
    }

    void cell(const TKartenTile& tile, int32_t x, int32_t y) const {
        // Light values are kept in 0..100; only their low byte reaches the screen.
        const Colour light{tile.lichtr & 0xFF, tile.lichtg & 0xFF, tile.lichtb & 0xFF};
        switch (tile.ID) {
            case TKarte::MAP_RAUM:
                square(x, y, floor_colour(tile, 60, light));
                break;
            case TKarte::MAP_SOLID:
                square(x, y, {50, 50, 50});
                break;
            case TKarte::MAP_GANG:
                square(x, y, floor_colour(tile, 55, light));
                break;
            default:
                break;  // other terrain leaves the background showing
        }
        // Only doors and teleports show; the tracker knows their cells without the tiles' lists.
        if (tile_tracking.holds_door_or_teleport(x, y))
            features(*tile.objects_if_any(), x, y, light);
    }

    // Closed doors and teleports show whether or not the cell was ever seen; a secret door looks
    // like a wall, a secret teleport like nothing.
    void features(RecordList& objects, int32_t x, int32_t y, Colour light) const {
        objects.look_at_each<TDoor>([&](const TDoor& door) {
            if (door.open != 0) return;
            square(x, y,
                   door.secret == 0 ? Colour{128 + light.r, 64 + light.g, light.b}
                                    : Colour{50, 50, 50});
        });
        objects.look_at_each<TTeleport>([&](const TTeleport& teleport) {
            if (teleport.secret != 0) return;
            square(x, y, {50 + light.r, 50 + light.g, 120 + light.b});
        });
    }

    const TKamera& camera_;
    ViewWindow window_;
};

}  // namespace

bool map_cell_at_pixel(int32_t px, int32_t py, int32_t& x, int32_t& y) {
    if (!kamera) return false;
    const TKamera& camera = *kamera;
    const ViewWindow window = view_window(camera);
    if (px < camera.cam_x || py < camera.cam_y + kCellDrop) return false;
    x = window.x0 + (px - camera.cam_x) / kCellSize;
    y = window.y0 + (py - camera.cam_y - kCellDrop) / kCellSize;
    return window.contains(x, y) && inside_map(x, y);
}

bool map_cell_pixel(int32_t x, int32_t y, int32_t& px, int32_t& py) {
    if (!kamera) return false;
    const TKamera& camera = *kamera;
    const ViewWindow window = view_window(camera);
    if (!window.contains(x, y)) return false;
    px = camera.cam_x + (x - window.x0) * kCellSize;
    py = camera.cam_y + (y - window.y0) * kCellSize + kCellDrop;
    return true;
}

int32_t TKamera::render_all() {
    cameras->for_each_of<TKamera>([](std::shared_ptr<TKamera>& camera) { camera->render(); });
    return 0;
}

int32_t TKamera::render() {
    const ViewPainter painter(*this, view_window(*this));
    painter.background();
    painter.cells();
    painter.monsters_in_sight();
    painter.treasures_and_missiles();
    painter.the_player();
    painter.border();
    set_color(255, 255, 255);
    return 0;
}

}  // namespace grotmere
