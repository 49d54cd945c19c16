#include "platform/canvas.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <iterator>
#include <map>
#include <set>
#include <utility>

namespace grotmere {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kRed{200, 0, 0};

using Points = std::set<std::pair<int32_t, int32_t>>;

Points lit(const Framebuffer& frame, Rgb background = kBlack) {
    Points points;
    for (int32_t y = 0; y < frame.height(); ++y) {
        for (int32_t x = 0; x < frame.width(); ++x) {
            if (!(frame.pixel(x, y) == background)) points.insert({x, y});
        }
    }
    return points;
}

Points line_points(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t w = 40, int32_t h = 30) {
    Framebuffer frame(w, h);
    Canvas(frame).line(x1, y1, x2, y2);
    return lit(frame);
}

// A thin line: exactly one pixel on each major-axis coordinate it spans, each next to the last.
bool one_pixel_per_step_and_connected(const Points& points, bool x_major) {
    std::map<int32_t, int32_t> minor_at;
    for (const auto& [x, y] : points) {
        const int32_t major = x_major ? x : y;
        if (!minor_at.emplace(major, x_major ? y : x).second) return false;
    }
    if (minor_at.empty()) return false;
    for (auto it = minor_at.begin(); std::next(it) != minor_at.end(); ++it) {
        const auto next = std::next(it);
        if (next->first != it->first + 1 || std::abs(next->second - it->second) > 1) return false;
    }
    return true;
}

// --- lines ----------------------------------------------------------------------------------

TEST(CanvasLine, CoversBothEndPointsWithOnePixelPerStepInEveryDirection) {
    struct Case {
        int32_t x1, y1, x2, y2;
    };
    const Case cases[] = {
        {3, 5, 20, 5},    {20, 5, 3, 5},    // horizontal
        {7, 2, 7, 25},    {7, 25, 7, 2},    // vertical
        {2, 2, 22, 22},   {22, 22, 2, 2},   // diagonal
        {2, 22, 22, 2},   {22, 2, 2, 22},   // anti-diagonal
        {5, 1, 9, 28},    {9, 28, 5, 1},    // steep
        {30, 27, 12, 3},  {1, 20, 38, 11},  // steep backwards, shallow upwards
        {10, 10, 10, 10},                   // a single point
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x1 << "," << c.y1 << " -> " << c.x2 << "," << c.y2);
        const Points points = line_points(c.x1, c.y1, c.x2, c.y2);
        EXPECT_TRUE(points.count({c.x1, c.y1}));
        EXPECT_TRUE(points.count({c.x2, c.y2}));
        const int32_t steps = std::max(std::abs(c.x2 - c.x1), std::abs(c.y2 - c.y1));
        EXPECT_EQ(points.size(), static_cast<size_t>(steps + 1));
        EXPECT_TRUE(one_pixel_per_step_and_connected(points, std::abs(c.x2 - c.x1) >= steps));
        EXPECT_EQ(points, line_points(c.x2, c.y2, c.x1, c.y1)) << "direction changes the pixels";
    }
}

TEST(CanvasLine, FollowsTheNearestPixelsOfAShallowLine) {
    const Points expected = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 2}, {6, 2}};
    EXPECT_EQ(line_points(0, 0, 6, 2), expected);
}

TEST(CanvasLine, HugeCoordinatesAreClippedNotWalked) {
    EXPECT_EQ(line_points(-2000000000, 5, 2000000000, 5).size(), 40u);
    EXPECT_EQ(line_points(11, INT32_MIN, 11, INT32_MAX).size(), 30u);

    const Points diagonal = line_points(-1000000000, -1000000000, 1000000000, 1000000000);
    EXPECT_EQ(diagonal.size(), 30u);
    EXPECT_TRUE(diagonal.count({0, 0}));
    EXPECT_TRUE(diagonal.count({29, 29}));

    EXPECT_TRUE(line_points(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MIN).empty());
    EXPECT_TRUE(line_points(-50, 10, -5, 20).empty());
}

// --- rectangles -----------------------------------------------------------------------------

TEST(CanvasRect, FillsOpaquelyAndClipsAtEveryEdge) {
    Framebuffer frame(20, 10);
    Canvas canvas(frame);
    canvas.clear(kRed);
    canvas.set_color(0, 0, 255);
    canvas.rect(2, 3, 4, 5);
    EXPECT_EQ(lit(frame, kRed).size(), 20u);
    EXPECT_EQ(frame.pixel(2, 3), (Rgb{0, 0, 255}));
    EXPECT_EQ(frame.pixel(5, 7), (Rgb{0, 0, 255}));
    EXPECT_EQ(frame.pixel(6, 7), kRed);
    EXPECT_EQ(frame.pixel(5, 8), kRed);

    canvas.clear(kRed);
    canvas.rect(-3, -2, 5, 4);   // top left corner: 2 x 2 visible
    canvas.rect(18, 8, 10, 10);  // bottom right corner: 2 x 2 visible
    EXPECT_EQ(lit(frame, kRed), (Points{{0, 0},
                                        {1, 0},
                                        {0, 1},
                                        {1, 1},  //
                                        {18, 8},
                                        {19, 8},
                                        {18, 9},
                                        {19, 9}}));
}

// Rows are filled in bulk, grey by memset and colours by doubling copies: every width must come
// out whole, in its own colour, and end where it should.
TEST(CanvasRect, EveryWidthOfAColouredOrGreyRowIsFilledExactly) {
    for (Rgb colour : {Rgb{1, 2, 3}, Rgb{90, 90, 90}, Rgb{255, 0, 255}}) {
        for (int32_t width : {1, 2, 3, 4, 5, 15, 16, 17, 31, 33, 63, 64, 65, 100}) {
            Framebuffer frame(101, 3);
            Canvas canvas(frame);
            canvas.set_color(colour.r, colour.g, colour.b);
            canvas.rect(0, 1, width, 1);
            for (int32_t x = 0; x < 101; ++x) {
                ASSERT_EQ(frame.pixel(x, 1), x < width ? colour : kBlack) << width << " at " << x;
                ASSERT_EQ(frame.pixel(x, 0), kBlack);
                ASSERT_EQ(frame.pixel(x, 2), kBlack);
            }
        }
        Framebuffer frame(7, 5);
        Canvas(frame).clear(colour);
        EXPECT_TRUE(lit(frame, colour).empty()) << "the whole frame in the clearing colour";
    }
}

TEST(CanvasRect, EmptyOrWrappingSizesAreHandled) {
    Framebuffer frame(20, 10);
    Canvas canvas(frame);
    canvas.rect(2, 2, 0, 5);
    canvas.rect(2, 2, 5, 0);
    canvas.rect(2, 2, -5, 5);
    canvas.rect(8, 8, 5, INT32_MIN);
    EXPECT_TRUE(lit(frame).empty());

    // 5 + INT32_MAX wraps in 32 bits; the rectangle still runs to the edges.
    canvas.rect(5, 6, INT32_MAX, INT32_MAX);
    EXPECT_EQ(lit(frame).size(), 15u * 4u);
    canvas.rect(INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX);
    EXPECT_EQ(lit(frame).size(), 15u * 4u);
}

// --- text -----------------------------------------------------------------------------------

TEST(CanvasText, DrawsOnlyGlyphPixelsAndLeavesTheBackground) {
    Framebuffer frame(16, 16);
    Canvas canvas(frame);
    canvas.clear(kRed);
    canvas.set_color(255, 255, 255);
    canvas.text("A", 4, 0);
    int32_t drawn = 0;
    for (int32_t y = 0; y < 16; ++y) {
        for (int32_t x = 0; x < 16; ++x) {
            const bool inside = x >= 4 && x < 12;
            const bool bit = inside && (kFontGlyphs['A' - 32][y] & (0x80 >> (x - 4)));
            EXPECT_EQ(frame.pixel(x, y), bit ? kWhite : kRed) << x << "," << y;
            drawn += bit;
        }
    }
    EXPECT_GT(drawn, 10);  // the font really has an A
}

TEST(CanvasText, EachPrintableCodeAdvancesEightPixelsAndOthersTakeNoSpace) {
    auto draw = [](std::string_view text) {
        Framebuffer frame(64, 16);
        Canvas(frame).text(text, 0, 0);
        return frame;
    };
    Framebuffer a_then_b(64, 16);
    Canvas canvas(a_then_b);
    canvas.text("A", 0, 0);
    canvas.text("B", 8, 0);
    EXPECT_EQ(draw("AB"), a_then_b);

    EXPECT_EQ(draw("A\x80"
                   "B"),
              a_then_b);
    EXPECT_EQ(draw("\x01"
                   "A\t\n\x1f\xff"
                   "B\x9b"),
              a_then_b);

    Framebuffer spaced(64, 16);
    Canvas(spaced).text("A", 0, 0);
    Canvas(spaced).text("B", 16, 0);
    EXPECT_EQ(draw("A B"), spaced);
    EXPECT_EQ(draw("A\x7f"
                   "B"),
              spaced);  // DEL is a glyph of its own
}

TEST(CanvasText, ClipsGlyphsAtTheEdges) {
    Framebuffer whole(16, 16);
    Canvas(whole).text("B", 0, 0);

    Framebuffer shifted(16, 16);
    Canvas(shifted).text("AB", -8, 0);
    EXPECT_EQ(shifted, whole);

    Framebuffer far(16, 16);
    Canvas(far).text("WWWW", INT32_MAX - 4, INT32_MAX - 4);
    Canvas(far).text("WWWW", INT32_MIN, INT32_MIN);
    EXPECT_TRUE(lit(far).empty());
}

// --- colour and versions --------------------------------------------------------------------

TEST(CanvasColor, ComponentsAreTakenModulo256) {
    Framebuffer frame(2, 2);
    Canvas canvas(frame);
    canvas.set_color(256 + 10, -1, 511);
    EXPECT_EQ(canvas.color(), (Rgb{10, 255, 255}));
    canvas.set_color(INT32_MIN, INT32_MAX, -256);
    EXPECT_EQ(canvas.color(), (Rgb{0, 255, 0}));
    canvas.rect(0, 0, 1, 1);
    EXPECT_EQ(frame.pixel(0, 0), (Rgb{0, 255, 0}));
}

TEST(CanvasFramebuffer, VersionGrowsWithEveryChange) {
    Framebuffer frame(10, 10);
    Canvas canvas(frame);
    uint64_t last = frame.version();
    auto grew = [&] {
        const bool result = frame.version() > last;
        last = frame.version();
        return result;
    };
    canvas.clear(kRed);
    EXPECT_TRUE(grew());
    canvas.rect(1, 1, 2, 2);
    EXPECT_TRUE(grew());
    canvas.line(0, 0, 9, 9);
    EXPECT_TRUE(grew());
    canvas.text("x", 0, 0);
    EXPECT_TRUE(grew());
    frame.put(3, 3, kWhite);
    EXPECT_TRUE(grew());

    // Taking an older picture is still a change: a backend must not skip it.
    Framebuffer older(10, 10);
    frame = older;
    EXPECT_TRUE(grew());
    EXPECT_EQ(frame, older);
}

}  // namespace
}  // namespace grotmere
