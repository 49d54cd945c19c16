#include "view/map_overview.hpp"

#include <algorithm>
#include <cstdint>
#include <string>

#include "actors/player.hpp"
#include "actors/treasure.hpp"
#include "platform/drawing.hpp"
#include "view/overlay_frame.hpp"
#include "view/player_knowledge.hpp"
#include "world/door.hpp"
#include "world/karte.hpp"
#include "world/karten_tile.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

constexpr int32_t kLegendWidth = 130;

struct Colour {
    int32_t r, g, b;
};

constexpr Colour kFloor{110, 110, 110};
constexpr Colour kWall{55, 55, 75};
constexpr Colour kClosedDoor{150, 80, 0};
constexpr Colour kOpenDoor{200, 150, 90};
constexpr Colour kHeap{255, 255, 0};
constexpr Colour kTeleport{90, 90, 230};
constexpr Colour kSwitch{230, 0, 230};
constexpr Colour kYou{0, 255, 0};

struct Layout {
    int32_t cell = 1;
    int32_t left = 0;
    int32_t top = 0;
};

// The largest whole cell size that fits the map beside the legend, centred in its space.
Layout layout() {
    const int32_t width = std::max(map_width, 1);
    const int32_t height = std::max(map_height, 1);
    const int32_t room_width = kWindowWidth - 2 * kOverlayMargin - kLegendWidth;
    const int32_t room_height = kOverlayFooterY - 10 - kOverlayBodyTop;
    Layout at;
    at.cell = std::max(1, std::min(room_width / width, room_height / height));
    at.left = kOverlayMargin + std::max(0, (room_width - at.cell * width) / 2);
    at.top = kOverlayBodyTop + std::max(0, (room_height - at.cell * height) / 2);
    return at;
}

void square(const Layout& at, int32_t x, int32_t y, Colour colour, int32_t inset = 0) {
    set_color(colour.r, colour.g, colour.b);
    draw_rect(at.left + x * at.cell + inset, at.top + y * at.cell + inset,
              std::max(1, at.cell - 2 * inset), std::max(1, at.cell - 2 * inset));
}

void cell(const Layout& at, int32_t x, int32_t y) {
    if (!cell_known(x, y)) return;
    const TKartenTile* tile = map_tile(x, y);
    if (const TDoor* door = known_door(x, y)) {
        square(at, x, y, door->open != 0 ? kOpenDoor : kClosedDoor);
    } else {
        square(at, x, y, cell_seen(x, y) && tile->ID != TKarte::MAP_SOLID ? kFloor : kWall);
    }
    if (known_teleport(x, y)) square(at, x, y, kTeleport, 1);
    if (known_switch(x, y)) square(at, x, y, kSwitch, 1);
}

void legend(const Layout& at) {
    const int32_t x = std::min(kWindowWidth - kOverlayMargin - kLegendWidth + 8,
                               at.left + at.cell * map_width + 12);
    int32_t y = kOverlayBodyTop;
    const std::pair<Colour, const char*> entries[] = {
        {kYou, "You"},           {kFloor, "Floor seen"},    {kWall, "Wall"},
        {kClosedDoor, "Door"},   {kOpenDoor, "Open door"},  {kHeap, "Heap"},
        {kTeleport, "Teleport"}, {kSwitch, "Switch found"},
    };
    for (const auto& [colour, meaning] : entries) {
        set_color(colour.r, colour.g, colour.b);
        draw_rect(x, y + 2, 8, 8);
        set_color(200, 200, 200);
        draw_text(meaning, x + 14, y);
        y += 14;
    }
}

}  // namespace

void draw_map_overview() {
    draw_overlay_frame("MAP: everything seen so far",
                       "M or Escape closes the map; no turn passes while it is open.");
    const Layout at = layout();
    const int32_t width = std::min(map_width, kGridSize);
    const int32_t height = std::min(map_height, kGridSize);
    for (int32_t x = 0; x < width; ++x) {
        for (int32_t y = 0; y < height; ++y)
            cell(at, x, y);
    }
    treasures->look_at_each<TTreasure>([&](const TTreasure& heap) {
        if (inside_map(heap.x, heap.y)) square(at, heap.x, heap.y, kHeap, at.cell > 3 ? 1 : 0);
    });
    if (player && inside_map(player->x, player->y)) square(at, player->x, player->y, kYou);
    legend(at);
    set_color(255, 255, 255);
}

}  // namespace grotmere
