#include "view/prompt_box.hpp"

#include <algorithm>

#include "platform/drawing.hpp"

namespace grotmere {

namespace {

constexpr int32_t kGlyphWidth = 8;
constexpr int32_t kLineHeight = 12;
constexpr int32_t kPadding = 10;
constexpr int32_t kMostLines = (kWindowHeight - 4 * kPadding) / kLineHeight - 4;

int32_t text_width(const std::string& text) {
    return static_cast<int32_t>(text.size()) * kGlyphWidth;
}

void frame(int32_t x, int32_t y, int32_t w, int32_t h) {
    set_color(12, 12, 28);
    draw_rect(x, y, w, h);
    set_color(100, 150, 100);
    draw_line(x, y, x + w - 1, y);
    draw_line(x, y + h - 1, x + w - 1, y + h - 1);
    draw_line(x, y, x, y + h - 1);
    draw_line(x + w - 1, y, x + w - 1, y + h - 1);
}

}  // namespace

void draw_prompt_box(const PromptBox& box) {
    const size_t shown = std::min(box.lines.size(), static_cast<size_t>(kMostLines));
    int32_t width = std::max(text_width(box.title), text_width(box.footer));
    for (size_t i = 0; i < shown; ++i)
        width = std::max(width, text_width(box.lines[i]));
    width = std::min(width + 2 * kPadding, kWindowWidth - 2 * kPadding);
    const int32_t rows = static_cast<int32_t>(shown) + (box.footer.empty() ? 1 : 3);
    const int32_t height = rows * kLineHeight + kLineHeight / 2 + 2 * kPadding;
    const int32_t x = (kWindowWidth - width) / 2;
    const int32_t y = (kWindowHeight - height) / 2;
    frame(x, y, width, height);
    int32_t line_y = y + kPadding;
    set_color(255, 255, 160);
    draw_text(box.title, x + kPadding, line_y);
    line_y += kLineHeight + kLineHeight / 2;
    set_color(220, 220, 220);
    for (size_t i = 0; i < shown; ++i) {
        draw_text(box.lines[i], x + kPadding, line_y);
        line_y += kLineHeight;
    }
    if (!box.footer.empty()) {
        set_color(170, 170, 170);
        draw_text(box.footer, x + kPadding, line_y + kLineHeight);
    }
    set_color(255, 255, 255);
}

}  // namespace grotmere
