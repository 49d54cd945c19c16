#include "view/overlay_frame.hpp"

#include "platform/drawing.hpp"

namespace grotmere {

void draw_overlay_frame(const std::string& title, const std::string& footer) {
    set_color(12, 12, 28);
    draw_rect(0, 0, kWindowWidth, kWindowHeight);
    set_color(100, 150, 100);
    const int32_t right = kWindowWidth - 5;
    const int32_t bottom = kWindowHeight - 5;
    draw_line(4, 4, right, 4);
    draw_line(4, bottom, right, bottom);
    draw_line(4, 4, 4, bottom);
    draw_line(right, 4, right, bottom);
    draw_line(4, kOverlayBodyTop - 8, right, kOverlayBodyTop - 8);
    draw_line(4, kOverlayFooterY - 6, right, kOverlayFooterY - 6);
    set_color(255, 255, 160);
    draw_text(title, kOverlayMargin, 10);
    set_color(170, 170, 170);
    draw_text(footer, kOverlayMargin, kOverlayFooterY);
    set_color(255, 255, 255);
}

int32_t overlay_body_lines() {
    return (kOverlayFooterY - 6 - kOverlayBodyTop) / kOverlayLineHeight;
}

}  // namespace grotmere
