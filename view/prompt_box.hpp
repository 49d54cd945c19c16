// A box in the middle of the game's picture, over whatever is drawn there: a title, a few lines and
// a footer saying which keys answer. The window's questions (end the game?), choosers and the
// notices of a game's end are drawn with it, so they belong to the picture as everything else.
#pragma once

#include <string>
#include <vector>

namespace grotmere {

struct PromptBox {
    std::string title;
    std::vector<std::string> lines;
    std::string footer;
};

// As wide as its longest line needs and as high as its lines; lines that do not fit the window
// are left out. Leaves the colour white.
void draw_prompt_box(const PromptBox& box);

}  // namespace grotmere
