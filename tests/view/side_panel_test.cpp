// The side panel lists what the map shows and what the status lines do not: monsters in sight in
// their map colour, the effects on the player, and the first-start hint.
#include <gtest/gtest.h>

#include "actors/buff.hpp"
#include "actors/trank.hpp"
#include "platform/canvas.hpp"
#include "platform/drawing.hpp"
#include "tests/actors/player_game.hpp"
#include "view/side_panel.hpp"
#include "world/tile_writes.hpp"

namespace grotmere {
namespace {

class SidePanel : public testing::PlayerGame {
protected:
    // How many pixels of the panel area have this colour.
    static int32_t pixels_of(Rgb colour) {
        int32_t found = 0;
        for (int32_t y = 0; y <= kSidePanelBottom; ++y) {
            for (int32_t x = kSidePanelLeft; x < kWindowWidth; ++x)
                found += framebuffer().pixel(x, y) == colour;
        }
        return found;
    }
    static int32_t lit_rows() {
        int32_t rows = 0;
        for (int32_t y = 0; y <= kSidePanelBottom; ++y) {
            bool lit = false;
            for (int32_t x = kSidePanelLeft; x < kWindowWidth; ++x)
                lit |= framebuffer().pixel(x, y) != Rgb{};
            rows += lit;
        }
        return rows;
    }
    // As the sight rule sees a cell: the mark lets the panel look at the tile.
    static void see(int32_t x, int32_t y) {
        write_tile(x, y)->sichtbar = 1;
        tile_tracking.seen(x, y);
    }
    static void draw(const std::string& hint = "") {
        clear_window();
        draw_side_panel(hint);
    }
};

TEST_F(SidePanel, MonstersInSightInTheirMapColourAndOnlyThose) {
    place(1, 1);
    monster("Rat", 3, 1, 5);
    monster("Bat", 2, 2, 5);
    see(3, 1);
    write_tile(3, 1)->lichtstaerke = 40;
    draw();
    EXPECT_GT(pixels_of(Rgb{195, 0, 0}), 0) << "the lit rat";
    EXPECT_EQ(pixels_of(Rgb{155, 0, 0}), 0) << "the bat's tile is not seen";

    see(2, 2);
    draw();
    EXPECT_GT(pixels_of(Rgb{155, 0, 0}), 0) << "a dark monster right beside the player shows";
    write_tile(3, 1)->lichtstaerke = 0;
    draw();
    EXPECT_EQ(pixels_of(Rgb{195, 0, 0}), 0);
    EXPECT_EQ(framebuffer().pixel(0, 0), Rgb{}) << "nothing outside the panel";
}

TEST_F(SidePanel, EffectsWithTheirTurnsButNotTheSilentCorrections) {
    place(1, 1);
    draw();
    const int32_t without = lit_rows();
    TBuff::setbuff("attack", -5, player);
    draw();
    EXPECT_EQ(lit_rows(), without) << "the game's own one-pass correction is no effect";
    auto potion = new_record<TTrank>();
    potion->wirkung = "attack+20'3";
    potion->parse_wirkung(player);
    draw();
    EXPECT_GT(lit_rows(), without);
}

TEST_F(SidePanel, TheHintStandsOnItsLastLine) {
    place(1, 1);
    draw();
    EXPECT_EQ(pixels_of(Rgb{255, 255, 160}) > 0, true) << "the headings";
    int32_t before = 0;
    for (int32_t x = kSidePanelLeft; x < kWindowWidth; ++x)
        before += framebuffer().pixel(x, kSidePanelBottom - 4) != Rgb{};
    draw("F1: help");
    int32_t after = 0;
    for (int32_t x = kSidePanelLeft; x < kWindowWidth; ++x)
        after += framebuffer().pixel(x, kSidePanelBottom - 4) != Rgb{};
    EXPECT_EQ(before, 0);
    EXPECT_GT(after, 0);
}

}  // namespace
}  // namespace grotmere
