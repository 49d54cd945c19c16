#include "gen/layout_survey.hpp"

#include <algorithm>
#include <cstdio>

#include "gen/dungeon_check.hpp"

namespace grotmere::gen {

namespace {

bool walkable(const Dungeon& d, int32_t x, int32_t y) {
    return x < d.width && y < d.height && d.open({x, y});
}

double difference_of(const Dungeon& a, const Dungeon& b) {
    int64_t both = 0, either = 0;
    for (int32_t y = 0; y < std::max(a.height, b.height); ++y)
        for (int32_t x = 0; x < std::max(a.width, b.width); ++x) {
            const bool in_a = walkable(a, x, y), in_b = walkable(b, x, y);
            both += in_a && in_b;
            either += in_a || in_b;
        }
    return either == 0 ? 0 : 1 - double(both) / double(either);
}

bool rectangular(const Room& room) {
    return room.shape == Shape::Rect || room.shape == Shape::Pillars;
}

}  // namespace

LayoutSurvey survey_layouts(const Palette& palette, int32_t seeds) {
    LayoutSurvey survey;
    int64_t walkable_tiles = 0, outside = 0, room_floor = 0, shaped_floor = 0, depths = 0;
    int64_t loops = 0, hidden = 0, pairs = 0, styles_differ = 0;
    double difference = 0;
    std::optional<Dungeon> before;
    for (int32_t seed = 1; seed <= seeds; ++seed) {
        std::optional<Dungeon> d = first_kept_dungeon(seed, palette);
        if (!d) continue;
        ++survey.dungeons;
        std::vector<bool> in_rectangle(size_t(d->width) * d->height, false);
        for (const Room& room : d->rooms)
            for (int32_t y = room.y0; y <= room.y1; ++y)
                for (int32_t x = room.x0; x <= room.x1; ++x) {
                    if (!d->open({x, y})) continue;
                    in_rectangle[size_t(y) * d->width + x] = rectangular(room);
                    ++room_floor;
                    shaped_floor += !rectangular(room);
                }
        for (int32_t y = 0; y < d->height; ++y)
            for (int32_t x = 0; x < d->width; ++x)
                if (d->open({x, y})) {
                    ++walkable_tiles;
                    outside += !in_rectangle[size_t(y) * d->width + x];
                }
        depths += int64_t(d->depths.size());
        loops += d->loops();
        hidden += std::count_if(d->doors.begin(), d->doors.end(),
                                [](const Door& door) { return door.secret; });
        for (const Depth& depth : d->depths)
            ++survey.style_count[int32_t(depth.style)];
        if (before) {
            ++pairs;
            difference += difference_of(*before, *d);
            bool same = before->depths.size() == d->depths.size();
            for (size_t k = 0; same && k < d->depths.size(); ++k)
                same = before->depths[k].style == d->depths[k].style;
            styles_differ += !same;
        }
        before = std::move(d);
    }
    if (survey.dungeons == 0) return survey;
    survey.depths = double(depths) / survey.dungeons;
    survey.floor_outside_rectangles =
        double(outside) / double(std::max<int64_t>(1, walkable_tiles));
    survey.room_floor_shaped = double(shaped_floor) / double(std::max<int64_t>(1, room_floor));
    survey.loops_per_depth = double(loops) / double(std::max<int64_t>(1, depths));
    survey.hidden_doors = double(hidden) / survey.dungeons;
    survey.difference = pairs ? difference / double(pairs) : 0;
    survey.styles_differ = pairs ? double(styles_differ) / double(pairs) : 0;
    return survey;
}

std::string survey_text(const LayoutSurvey& s) {
    char text[1200];
    std::snprintf(
        text, sizeof text,
        "%d dungeons, %.2f depths each (%d of rooms and corridors, %d of shaped rooms, %d of "
        "caves, %d mazes)\n"
        "walkable tiles outside rectangular rooms: %.1f%% (room floor in rooms of other shapes: "
        "%.1f%%)\n"
        "loops per depth: %.2f\nhidden doors per dungeon: %.2f\n"
        "difference of neighbouring seeds (tiles walkable in only one of the two, of those "
        "walkable in either): %.1f%%; their depths' styles differ in %.1f%% of the pairs\n",
        s.dungeons, s.depths, s.style_count[0], s.style_count[1], s.style_count[2],
        s.style_count[3], 100 * s.floor_outside_rectangles, 100 * s.room_floor_shaped,
        s.loops_per_depth, s.hidden_doors, 100 * s.difference, 100 * s.styles_differ);
    return text;
}

}  // namespace grotmere::gen
