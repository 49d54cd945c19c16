#include "view/history_overlay.hpp"

#include <algorithm>
#include <string>

#include "platform/drawing.hpp"
#include "view/overlay_frame.hpp"
#include "world/message_history.hpp"

namespace grotmere {

int32_t history_max_scroll(const MessageHistory& history) {
    const auto lines = static_cast<int32_t>(history.size());
    return std::max(0, lines - overlay_body_lines());
}

void draw_history_overlay(const MessageHistory& history, int32_t scroll) {
    const auto lines = static_cast<int32_t>(history.size());
    const int32_t shown = overlay_body_lines();
    scroll = std::clamp(scroll, 0, history_max_scroll(history));
    const int32_t last = lines - scroll;  // one past the newest line shown
    const int32_t first = std::max(0, last - shown);

    std::string title = "MESSAGE HISTORY";
    if (lines > 0) {
        title += ": lines " + std::to_string(first + 1) + " to " + std::to_string(last) + " of " +
                 std::to_string(lines);
    }
    draw_overlay_frame(title,
                       "Up, Down, Page Up, Page Down, Home, End scroll; F2 or Escape closes.");
    // Newest at the bottom, the view filled from the bottom up, older lines fading a little.
    int32_t y = kOverlayBodyTop + (shown - (last - first)) * kOverlayLineHeight;
    for (int32_t index = first; index < last; ++index) {
        const int32_t grey = index == lines - 1 ? 255 : 200;
        set_color(grey, grey, grey);
        draw_text(history.line(static_cast<size_t>(index)), kOverlayMargin, y);
        y += kOverlayLineHeight;
    }
    if (lines == 0) {
        set_color(170, 170, 170);
        draw_text("Nothing has been logged yet.", kOverlayMargin, kOverlayBodyTop);
    }
    set_color(255, 255, 255);
}

}  // namespace grotmere
