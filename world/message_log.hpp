// The message log: the nine most recent lines the game tells the player, newest first. Any rule
// appends with log_message; the frame draws the lines with draw_messages (view/message_view.hpp).
// The lines themselves are the program-wide `message_lines`.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace grotmere {

// Stored unchanged: no wrapping, no truncation. The oldest line is lost from the log, but every
// line also goes to `message_history`, which the player can read back.
int32_t log_message(std::string_view text);
// The pieces joined into one line, written into the storage of the oldest line, which the new one
// replaces: once the lines have grown, the log asks for no memory however much the game says.
int32_t log_message(std::initializer_list<std::string_view> pieces);

}  // namespace grotmere
