// What the page shows and offers beside the picture, from the loaded bindings: the keys as the
// help names them, and the key code each command's on-screen button hands the game (through the
// keyboard, as a key of the board would). Read by the page (web/index.html) whenever the game
// opens its window.
#pragma once

#include <string>

namespace grotmere {

// JSON text; before the bindings are loaded (the question whether to go on with a game left
// unfinished comes first) "keys" is empty and "commands" holds only Return:
//   {"keys": [{"what": "Walk (or shoot) left", "keys": "Left"}, ...],
//    "commands": {"go_left": {"code": 37, "key": "Left"}, ..., "inv_1": ..., "help": ...,
//                 "rest": ..., "explore": ..., "return": ..., "escape": ..., "yes": ...}}
// "commands" holds the binding file's field names and the window's own help, rest, explore,
// return, escape (which asks whether to end the game) and yes; a command without a key is left
// out. With `window_aids` off (--classic) only the
// binding file's commands are there: the window's own keys do nothing then.
std::string page_guide(bool window_aids);

}  // namespace grotmere
