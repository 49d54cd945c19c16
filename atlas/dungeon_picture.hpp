// A generated dungeon as one picture for its author (grotmere-gen --picture): every tile a small
// square, each depth's floor in a tint of its own, and marks for doors (hidden and locked ones
// apart), levers and plates, the stairs down, portals, lamps, the start, the exit and the monsters
// coloured by level; a legend beside the map names them. Drawn with the game's own canvas and
// font and written with its PNG writer. It reads the dungeon and changes nothing.
#pragma once

#include <string>

#include "gen/dungeon.hpp"
#include "platform/canvas.hpp"

namespace grotmere {

inline constexpr int32_t kPictureTile = 4;           // pixels a tile is wide and high
inline constexpr int32_t kPictureLegendWidth = 280;  // the legend's column right of the map

// The colours of the marks, for the legend and for tests that look for them.
namespace picture_colour {
inline constexpr Rgb kRock{22, 22, 28};
inline constexpr Rgb kDoor{170, 110, 50};
inline constexpr Rgb kLockedDoor{235, 120, 20};
inline constexpr Rgb kHiddenDoor{255, 0, 255};
inline constexpr Rgb kSwitch{255, 235, 0};
inline constexpr Rgb kStair{0, 230, 255};
inline constexpr Rgb kPortal{120, 90, 255};
inline constexpr Rgb kLamp{255, 255, 170};
inline constexpr Rgb kStart{255, 255, 255};
}  // namespace picture_colour

Framebuffer dungeon_picture(const gen::Dungeon& dungeon);

// The top left pixel of a tile in the picture.
inline int32_t picture_pixel(int32_t tile) {
    return tile * kPictureTile;
}

// Writes the picture as a PNG; false, with `error` set, when it cannot.
bool write_dungeon_picture(const gen::Dungeon& dungeon, const std::string& path,
                           std::string& error);

}  // namespace grotmere
