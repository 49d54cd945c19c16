#include "shell/end_screen.hpp"

#include "actors/player.hpp"
#include "base/text.hpp"
#include "platform/drawing.hpp"
#include "platform/key_codes.hpp"
#include "platform/platform.hpp"
#include "world/world_state.hpp"

namespace grotmere {

std::string ending_words(const std::string& ending, int64_t turns) {
    const std::string when = " on turn " + std::to_string(turns);
    if (ending == "death") {
        const std::string& cause = world_state.chronicle.last_harm;
        return "Killed by " + with_article(cause) + when + ".";
    }
    if (ending == "escaped") return "Escaped from the dungeon" + when + "!";
    if (ending == "escape") return "Left the game" + when + ".";
    return "The game ended" + when + ".";
}

EndScreenFacts end_screen_facts(const std::string& ending, int64_t turns,
                                const std::string& morgue_path) {
    EndScreenFacts facts;
    facts.headline = ending_words(ending, turns);
    facts.turns = turns;
    if (player) {
        facts.level = player->level;
        facts.xp = player->xp;
        facts.gold = player->gold;
    }
    facts.kills = world_state.chronicle.kills;
    facts.morgue_path = morgue_path;
    return facts;
}

AfterTheEnd show_end_screen(const EndScreenFacts& facts) {
    for (;;) {
        timer_wait(frame_timer);
        clear_window();
        draw_end_screen(facts);
        present_frame();
        if (key_hit(key::kReturn) != 0) return AfterTheEnd::NewGame;
        if (key_hit(key::kEscape) != 0 || close_requested() != 0) return AfterTheEnd::Quit;
    }
}

}  // namespace grotmere
