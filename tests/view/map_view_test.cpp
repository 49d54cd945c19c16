#include <gtest/gtest.h>

#include "actors/gegner.hpp"
#include "actors/geschoss.hpp"
#include "actors/player.hpp"
#include "actors/treasure.hpp"
#include "platform/drawing.hpp"
#include "platform/platform.hpp"
#include "tests/world/world_test_support.hpp"
#include "world/door.hpp"
#include "world/teleport.hpp"
#include "world/tile_writes.hpp"

namespace grotmere {
namespace {

const Rgb kBorder{100, 150, 100};
const Rgb kBackground{30, 30, 30};
const Rgb kUnseen{50, 50, 50};
const Rgb kBlack{0, 0, 0};

class Camera : public testing::WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        testing::make_map(std::vector<std::string>(25, std::string(80, '0')));
        game_camera();
        player = new_record<TPlayer>();
    }

    void view_from(int32_t x, int32_t y) {
        player->x = x;
        player->y = y;
        kamera->set(x, y);
        TKamera::render_all();
    }

    // The middle of a cell's square, for a window whose top-left cell is (x0, y0).
    static Rgb cell(int32_t column, int32_t row) {
        return at(1 + column * 10 + 5, 1 + row * 10 + 7);
    }

    // Every pixel of the font's glyph at exactly (px, py) has the colour.
    static bool glyph_at(char ch, int32_t px, int32_t py, Rgb colour) {
        int32_t lit = 0;
        for (int32_t row = 0; row < kGlyphHeight; ++row) {
            for (int32_t column = 0; column < kGlyphWidth; ++column) {
                if (!(kFontGlyphs[ch - 32][row] & (0x80 >> column))) continue;
                if (at(px + column, py + row) != colour) return false;
                ++lit;
            }
        }
        return lit > 0;
    }

    std::shared_ptr<TGegner> monster_at(int32_t x, int32_t y) {
        auto monster = new_record<TGegner>();
        monster->name = "Rat";
        monster->x = x;
        monster->y = y;
        monsters->append(monster);
        return monster;
    }
};

TEST_F(Camera, NearTheTopLeftCornerTheWindowStartsAtTheMapsEdge) {
    view_from(3, 4);
    EXPECT_EQ(at(1, 120), kBorder) << "left border";
    EXPECT_EQ(at(200, 1), kBorder) << "top border";
    EXPECT_EQ(at(403, 120), kBlack) << "no right border";
    EXPECT_EQ(at(200, 246), kBlack) << "no bottom border";
    EXPECT_EQ(cell(39, 23), kUnseen) << "column 39 and row 23 are the last ones shown";
    EXPECT_EQ(at(401, 120), kBackground) << "column 40 is not drawn";
    EXPECT_EQ(at(120, 244), kBackground) << "row 24 is not drawn";
    EXPECT_TRUE(glyph_at('Q', 31, 41, Rgb{0, 255, 0})) << "the player at (3,4), unshifted";
}

TEST_F(Camera, NearTheBottomRightCornerTheWindowSlidesInwards) {
    write_tile(40, 1)->erfasst = 1;
    write_tile(79, 24)->erfasst = 1;
    write_tile(79, 24)->ID = 2;
    view_from(78, 24);
    EXPECT_EQ(cell(0, 0), (Rgb{60, 60, 60})) << "the window begins at (40, 1)";
    EXPECT_EQ(cell(39, 23), (Rgb{55, 55, 55})) << "and ends at (79, 24), a remembered corridor";
    EXPECT_EQ(at(403, 120), kBorder) << "right border";
    EXPECT_EQ(at(200, 246), kBorder) << "bottom border";
    EXPECT_EQ(at(200, 1), kBackground) << "no top border";
    EXPECT_EQ(at(1, 120), kUnseen) << "no left border";
    EXPECT_TRUE(glyph_at('Q', 381, 231, Rgb{0, 255, 0}));
}

TEST_F(Camera, AMapNarrowerThanTheWindowHasBothSideBorders) {
    testing::make_map(std::vector<std::string>(25, std::string(30, '0')));
    for (int32_t x : {0, 15, 29}) {
        framebuffer().fill(kBlack);
        view_from(x, 12);
        EXPECT_EQ(at(1, 120), kBorder) << x;
        EXPECT_EQ(at(403, 120), kBorder) << x;
        EXPECT_EQ(cell(29, 5), kUnseen) << x;
        EXPECT_EQ(cell(30, 5), kBackground) << x;
    }
}

TEST_F(Camera, FloorIsDrawnBySightMemoryAndLight) {
    auto lit = [](int32_t x, int32_t y, int32_t r, int32_t g, int32_t b) {
        write_tile(x, y)->lichtr = r;
        write_tile(x, y)->lichtg = g;
        write_tile(x, y)->lichtb = b;
    };
    write_tile(1, 1)->sichtbar = write_tile(1, 1)->erfasst = 1;
    lit(1, 1, 100, 40, 0);
    write_tile(2, 1)->erfasst = 1;
    lit(2, 1, 100, 40, 0);
    write_tile(3, 1)->ID = 2;
    write_tile(3, 1)->erfasst = 1;
    lit(3, 1, 10, 20, 30);
    write_tile(4, 1)->ID = 2;
    write_tile(4, 1)->sichtbar = write_tile(4, 1)->erfasst = 1;
    write_tile(5, 1)->ID = 1;
    write_tile(5, 1)->sichtbar = write_tile(5, 1)->erfasst = 1;
    lit(5, 1, 100, 100, 100);
    write_tile(6, 1)->ID = 7;
    write_tile(7, 1)->erfasst = 1;
    lit(7, 1, 256 + 5, -1, 0);
    view_from(3, 4);
    EXPECT_EQ(cell(1, 1), (Rgb{200, 140, 100})) << "lit and seen";
    EXPECT_EQ(cell(2, 1), (Rgb{160, 100, 60})) << "lit and remembered";
    EXPECT_EQ(cell(3, 1), (Rgb{65, 75, 85})) << "a remembered corridor";
    EXPECT_EQ(cell(4, 1), (Rgb{100, 100, 100})) << "a corridor in sight";
    EXPECT_EQ(cell(5, 1), kUnseen) << "a wall, seen and lit or not";
    EXPECT_EQ(cell(6, 1), kBackground) << "other terrain draws nothing";
    EXPECT_EQ(cell(0, 1), kUnseen) << "floor never seen looks like a wall";
    EXPECT_EQ(cell(7, 1), (Rgb{65, 59, 60})) << "only the low byte of a light value counts";
    EXPECT_EQ(at(15, 2), kBackground) << "squares begin 2 pixels below the cell's top";
    EXPECT_EQ(at(15, 3), kUnseen);
}

TEST_F(Camera, MonstersShowInLightOrRightBesideThePlayer) {
    for (int32_t x = 0; x < 10; ++x)
        write_tile(x, 4)->sichtbar = 1;
    monster_at(5, 4);  // two cells from the player, in the dark
    monster_at(4, 4);  // beside the player, in the dark
    monster_at(8, 4);  // lit
    write_tile(8, 4)->lichtstaerke = 40;
    monster_at(2, 8);  // lit but not in sight
    write_tile(2, 8)->lichtstaerke = 40;
    monster_at(9, 4)->name = "";  // no name, no glyph
    write_tile(9, 4)->lichtstaerke = 40;
    view_from(3, 4);
    EXPECT_FALSE(glyph_in(51, 41, Rgb{155, 0, 0}));
    EXPECT_TRUE(glyph_at('R', 41, 41, Rgb{155, 0, 0}));
    EXPECT_TRUE(glyph_at('R', 81, 41, Rgb{195, 0, 0}));
    EXPECT_FALSE(glyph_in(21, 81, Rgb{195, 0, 0}));
    EXPECT_EQ(cell(9, 4), (Rgb{100, 100, 100})) << "the nameless monster draws nothing";
}

TEST_F(Camera, DoorsAndTeleportsShowWhetherSeenOrNot) {
    auto closed = new_record<TDoor>();
    auto secret = new_record<TDoor>();
    secret->secret = 1;
    auto open = new_record<TDoor>();
    open->open = 1;
    auto teleport = new_record<TTeleport>();
    auto hidden_teleport = new_record<TTeleport>();
    hidden_teleport->secret = 1;
    tile(1, 2).gegenstaende()->append(closed);
    write_tile(1, 2)->lichtr = 10;
    write_tile(1, 2)->lichtb = 20;
    tile(2, 2).gegenstaende()->append(secret);
    write_tile(2, 2)->sichtbar = 1;
    tile(3, 2).gegenstaende()->append(open);
    write_tile(3, 2)->sichtbar = 1;
    tile(4, 2).gegenstaende()->append(teleport);
    write_tile(4, 2)->lichtg = 5;
    tile(5, 2).gegenstaende()->append(hidden_teleport);
    view_from(3, 4);
    EXPECT_EQ(cell(1, 2), (Rgb{138, 64, 20}));
    EXPECT_EQ(cell(2, 2), kUnseen) << "a secret door looks like a wall";
    EXPECT_EQ(cell(3, 2), (Rgb{100, 100, 100})) << "an open door draws nothing";
    EXPECT_EQ(cell(4, 2), (Rgb{50, 55, 120}));
    EXPECT_EQ(cell(5, 2), kUnseen);

    secret->secret = 0;
    TKamera::render_all();
    EXPECT_EQ(cell(2, 2), (Rgb{128, 64, 0})) << "once found it shows as a door";
}

TEST_F(Camera, HeapsMissilesAndThePlayerDrawOnTop) {
    auto heap = new_record<TTreasure>();
    heap->x = 6;
    heap->y = 6;
    treasures->append(heap);
    auto far_heap = new_record<TTreasure>();
    far_heap->x = 60;
    far_heap->y = 6;
    treasures->append(far_heap);
    auto missile = new_record<TGeschoss>();
    missile->x = 7;
    missile->y = 6;
    missiles->append(missile);
    view_from(3, 4);
    EXPECT_TRUE(glyph_at('T', 61, 61, Rgb{255, 255, 0})) << "unseen cells show heaps too";
    EXPECT_TRUE(glyph_at('*', 71, 61, Rgb{0, 0, 255}));
    EXPECT_FALSE(glyph_in(601, 61, Rgb{255, 255, 0})) << "a heap outside the window";

    draw_rect(600, 300, 2, 2);
    EXPECT_EQ(at(600, 300), (Rgb{255, 255, 255})) << "the colour is white afterwards";
}

TEST_F(Camera, EveryCameraDrawsItsOwnWindow) {
    auto second = new_record<TKamera>();
    second->set_viewport(500, 10, 102, 105);
    second->set(0, 0);
    view_from(3, 4);
    EXPECT_EQ(at(500, 60), kBorder) << "the second camera's left border";
    EXPECT_EQ(at(505, 20), kUnseen) << "and its cells";
    EXPECT_EQ(at(1, 120), kBorder);
}

}  // namespace
}  // namespace grotmere
