// The message history: every line logged since the start, newest at the bottom, scrolled back
// by a number of lines.
#pragma once

#include <cstdint>

namespace grotmere {

class MessageHistory;

// The largest useful scroll for this history: its oldest line at the top of the view.
int32_t history_max_scroll(const MessageHistory& history);

// Over the whole window. `scroll` lines back from the newest; it is held within 0 and
// history_max_scroll.
void draw_history_overlay(const MessageHistory& history, int32_t scroll);

}  // namespace grotmere
