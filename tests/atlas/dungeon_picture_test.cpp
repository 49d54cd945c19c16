// The picture of a generated dungeon has the map's size plus the legend, and shows a door and a
// stair where they stand.
#include <gtest/gtest.h>

#include "atlas/dungeon_picture.hpp"
#include "gen/dungeon_check.hpp"
#include "shell/generated_dungeon.hpp"

namespace grotmere {
namespace {

Rgb middle_of(const Framebuffer& frame, gen::Cell c) {
    return frame.pixel(picture_pixel(c.x) + kPictureTile / 2,
                       picture_pixel(c.y) + kPictureTile / 2);
}

TEST(DungeonPicture, ShowsTheDoorsAndStairsWhereTheyStand) {
    const gen::Dungeon d = *gen::first_kept_dungeon(7, read_palette(GROTMERE_SOURCE_DIR));
    const Framebuffer frame = dungeon_picture(d);
    EXPECT_EQ(frame.width(), d.width * kPictureTile + kPictureLegendWidth);
    EXPECT_EQ(frame.height(), std::max(d.height * kPictureTile, 470));
    const gen::Door& hidden = *std::find_if(d.doors.begin(), d.doors.end(),
                                            [](const gen::Door& door) { return door.secret; });
    EXPECT_EQ(middle_of(frame, hidden.at), picture_colour::kHiddenDoor);
    EXPECT_EQ(middle_of(frame, d.gate), picture_colour::kLockedDoor);
    EXPECT_EQ(middle_of(frame, d.depths.front().stair), picture_colour::kStair);
    EXPECT_EQ(frame.pixel(0, 0), picture_colour::kRock);
}

}  // namespace
}  // namespace grotmere
