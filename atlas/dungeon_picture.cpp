#include "atlas/dungeon_picture.hpp"

#include <algorithm>

#include "platform/png_writer.hpp"

namespace grotmere {

namespace {

using namespace picture_colour;

constexpr int32_t kLegendHeight = 470;

// The depths' tints, first to sixth: floor is drawn in the tint, corridor a little darker.
constexpr Rgb kTints[] = {{96, 150, 96},  {96, 128, 170}, {150, 120, 80},
                          {140, 96, 150}, {160, 90, 90},  {110, 150, 150}};

Rgb darker(Rgb c) {
    return {uint8_t(c.r * 3 / 4), uint8_t(c.g * 3 / 4), uint8_t(c.b * 3 / 4)};
}

// Monsters from green (the weakest) through yellow to red; the guardian's level and above purple.
Rgb monster_colour(int32_t level, int32_t top) {
    if (level >= top) return {170, 0, 255};
    const int32_t share = std::clamp(255 * (level - 1) / std::max(1, top - 2), 0, 255);
    return {uint8_t(std::min(255, 2 * share)), uint8_t(std::min(255, 2 * (255 - share))), 0};
}

class Painter {
public:
    Painter(Framebuffer& frame) : canvas_(frame) {}

    void fill_tile(gen::Cell c, Rgb colour) {
        canvas_.set_color(colour.r, colour.g, colour.b);
        canvas_.rect(picture_pixel(c.x), picture_pixel(c.y), kPictureTile, kPictureTile);
    }
    // A mark in the middle of a tile, `inset` pixels in from its sides.
    void mark(gen::Cell c, Rgb colour, int32_t inset = 1) {
        canvas_.set_color(colour.r, colour.g, colour.b);
        canvas_.rect(picture_pixel(c.x) + inset, picture_pixel(c.y) + inset,
                     kPictureTile - 2 * inset, kPictureTile - 2 * inset);
    }
    void swatch(int32_t x, int32_t y, Rgb colour, const std::string& label) {
        canvas_.set_color(colour.r, colour.g, colour.b);
        canvas_.rect(x, y + 4, 10, 10);
        text(x + 16, y, label, {230, 230, 230});
    }
    void text(int32_t x, int32_t y, const std::string& words, Rgb colour) {
        canvas_.set_color(colour.r, colour.g, colour.b);
        canvas_.text(words, x, y);
    }

private:
    Canvas canvas_;
};

void draw_terrain(Painter& paint, const gen::Dungeon& d) {
    for (int32_t y = 0; y < d.height; ++y)
        for (int32_t x = 0; x < d.width; ++x) {
            const gen::Cell c{x, y};
            const int32_t depth = d.depth_of(c);
            if (!d.open(c) || depth < 0) continue;
            const Rgb tint = kTints[size_t(depth) % std::size(kTints)];
            paint.fill_tile(c, d.at(c) == char(gen::Terrain::Corridor) ? darker(tint) : tint);
        }
}

void draw_features(Painter& paint, const gen::Dungeon& d, int32_t top_level) {
    for (const gen::Lamp& lamp : d.lamps)
        paint.mark(lamp.at, kLamp, 1);
    for (const gen::Door& door : d.doors)
        paint.fill_tile(door.at, door.secret ? kHiddenDoor : door.locked ? kLockedDoor : kDoor);
    for (const gen::Switch& s : d.switches)
        paint.fill_tile(s.at, s.art == "exit" ? kStart : kSwitch);
    for (const gen::Teleport& t : d.teleports) {
        const bool stair = d.depth_of(t.to) > d.depth_of(t.at);
        paint.fill_tile(t.at, stair ? kStair : kPortal);
        paint.mark(t.to, stair ? kStair : kPortal, 1);
    }
    for (const gen::Spawn& spawn : d.spawns)
        paint.mark(spawn.at, monster_colour(spawn.level, top_level), 0);
    paint.fill_tile(d.start, kStart);
}

void draw_legend(Painter& paint, const gen::Dungeon& d, int32_t x, int32_t top_level) {
    int32_t y = 6;
    paint.text(x, y,
               "Seed " + std::to_string(d.seed) + ", " + std::to_string(d.width) + " x " +
                   std::to_string(d.height),
               {255, 255, 255});
    y += 22;
    for (size_t k = 0; k < d.depths.size(); ++k, y += 16)
        paint.swatch(x, y, kTints[k % std::size(kTints)],
                     "Depth " + std::to_string(k + 1) + ": " + gen::style_name(d.depths[k].style));
    y += 8;
    const std::pair<Rgb, const char*> marks[] = {
        {kDoor, "door"},           {kLockedDoor, "locked door"}, {kHiddenDoor, "hidden door"},
        {kSwitch, "lever, plate"}, {kStair, "stair down"},       {kPortal, "portal"},
        {kLamp, "lamp"},           {kStart, "start, exit"}};
    for (const auto& [colour, label] : marks) {
        paint.swatch(x, y, colour, label);
        y += 16;
    }
    y += 8;
    paint.text(x, y, "Monsters by level:", {230, 230, 230});
    y += 18;
    for (int32_t level = 1; level <= top_level; ++level, y += 16)
        paint.swatch(x, y, monster_colour(level, top_level),
                     "level " + std::to_string(level) + (level == top_level ? " (guardian)" : ""));
}

}  // namespace

Framebuffer dungeon_picture(const gen::Dungeon& d) {
    int32_t top_level = 1;
    for (const gen::Spawn& spawn : d.spawns)
        top_level = std::max(top_level, spawn.level);
    Framebuffer frame(picture_pixel(d.width) + kPictureLegendWidth,
                      std::max(picture_pixel(d.height), kLegendHeight));
    frame.fill(kRock);
    Painter paint(frame);
    draw_terrain(paint, d);
    draw_features(paint, d, top_level);
    draw_legend(paint, d, picture_pixel(d.width) + 12, top_level);
    return frame;
}

bool write_dungeon_picture(const gen::Dungeon& dungeon, const std::string& path,
                           std::string& error) {
    return write_png(dungeon_picture(dungeon), path, &error);
}

}  // namespace grotmere
