#include "view/end_screen.hpp"

#include "base/text.hpp"
#include "platform/drawing.hpp"
#include "view/overlay_frame.hpp"

namespace grotmere {

namespace {

constexpr int32_t kColumnWidth = 200;
constexpr int32_t kKillsTop = kOverlayBodyTop + 16 * kOverlayLineHeight;

void figure(const std::string& what, const std::string& value, int32_t& y) {
    set_color(200, 200, 200);
    draw_text(what, kOverlayMargin, y);
    set_color(255, 255, 255);
    draw_text(value, kOverlayMargin + 120, y);
    y += kOverlayLineHeight + 2;
}

// The monsters slain in columns, as many as the screen holds.
void kills(const EndScreenFacts& facts) {
    set_color(255, 255, 160);
    draw_text("MONSTERS SLAIN", kOverlayMargin, kKillsTop);
    const int32_t first = kKillsTop + 2 * kOverlayLineHeight;
    const int32_t rows = (kOverlayFooterY - 30 - first) / kOverlayLineHeight;
    set_color(220, 220, 220);
    if (facts.kills.empty()) draw_text("none", kOverlayMargin, first);
    for (size_t i = 0; i < facts.kills.size() && static_cast<int32_t>(i) < rows * 4; ++i) {
        const int32_t column = static_cast<int32_t>(i) / rows;
        const int32_t row = static_cast<int32_t>(i) % rows;
        draw_text(facts.kills[i].first + " x" + int_to_text(facts.kills[i].second),
                  kOverlayMargin + column * kColumnWidth, first + row * kOverlayLineHeight);
    }
}

// The hall of fame beside the figures, this game's line marked.
void hall_of_fame(const EndScreenFacts& facts) {
    constexpr int32_t kLeft = 420;
    int32_t y = kOverlayBodyTop + 2 * kOverlayLineHeight + 4;
    set_color(255, 255, 160);
    draw_text("HALL OF FAME", kLeft, y);
    y += 2 * kOverlayLineHeight;
    for (size_t i = 0; i < facts.best.size(); ++i) {
        const bool marked = static_cast<int32_t>(i) == facts.best_marked;
        if (marked)
            set_color(255, 200, 120);
        else
            set_color(200, 200, 200);
        draw_text((marked ? "> " : "  ") + facts.best[i], kLeft, y);
        y += kOverlayLineHeight;
    }
}

// A long path keeps its end, where the file's own name is.
std::string tail_of(const std::string& path) {
    constexpr size_t kLongest = 84;
    return path.size() <= kLongest ? path : "..." + path.substr(path.size() - kLongest + 3);
}

}  // namespace

void draw_end_screen(const EndScreenFacts& facts) {
    draw_overlay_frame("THE END", "Return: a new game with a new seed.   Escape: quit.");
    int32_t y = kOverlayBodyTop;
    set_color(255, 200, 120);
    draw_text(facts.headline, kOverlayMargin, y);
    y += 2 * kOverlayLineHeight + 4;
    figure("Turns", std::to_string(facts.turns), y);
    figure("Level", int_to_text(facts.level), y);
    figure("Experience", int_to_text(facts.xp), y);
    figure("Gold", int_to_text(facts.gold), y);
    figure("Seed", int_to_text(facts.seed), y);
    if (!facts.depth.empty()) figure("Deepest", facts.depth, y);
    hall_of_fame(facts);
    kills(facts);
    if (!facts.daily_result.empty()) {
        set_color(160, 220, 255);
        draw_text(facts.daily_result, kOverlayMargin, kOverlayFooterY - 36);
    }
    if (!facts.morgue_path.empty()) {
        set_color(170, 170, 170);
        draw_text("Morgue file: " + tail_of(facts.morgue_path), kOverlayMargin,
                  kOverlayFooterY - 20);
    }
    set_color(255, 255, 255);
}

}  // namespace grotmere
