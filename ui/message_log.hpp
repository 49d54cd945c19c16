// The message log: the nine most recent lines the game tells the player, newest first, drawn in
// greys that fade with age. Any rule appends with log_message; the frame draws it with
// draw_messages. The lines themselves are the program-wide `message_lines`.
#pragma once

#include <cstdint>
#include <string>

namespace grotmere {

// Stored unchanged: no wrapping, no truncation. The oldest line is lost.
int32_t log_message(const std::string& text);
// Line i at (x, y + 10 i) in grey 255 - 30 i; the colour is white afterwards.
int32_t draw_messages(int32_t x, int32_t y);

}  // namespace grotmere
