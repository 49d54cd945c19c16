#include "shell/end_screen.hpp"

#include "actors/player.hpp"
#include "base/text.hpp"
#include "platform/drawing.hpp"
#include "platform/key_codes.hpp"
#include "platform/platform.hpp"
#include "view/overlay_frame.hpp"
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

Score score_of_game(const std::string& date, int32_t seed, const std::string& ending, int64_t turns,
                    const std::string& data_hash, const std::string& recording) {
    Score score{date, seed, ending, turns};
    if (player) {
        score.level = player->level;
        score.xp = player->xp;
        score.gold = player->gold;
    }
    for (const auto& [name, count] : world_state.chronicle.kills)
        score.slain += count;
    score.data_hash = data_hash;
    score.recording = recording;
    return score;
}

namespace {

std::string how_it_ended(const std::string& ending) {
    if (ending == "escaped") return "escaped in";
    if (ending == "death") return "died after";
    if (ending == "escape") return "quit after";
    return "ended after";
}

}  // namespace

void show_best_scores(EndScreenFacts& facts, const std::vector<Score>& best, const Score& game) {
    for (size_t k = 0; k < best.size(); ++k) {
        const Score& s = best[k];
        if (s == game) facts.best_marked = static_cast<int32_t>(k);
        facts.best.push_back(std::to_string(k + 1) + ". " + how_it_ended(s.ending) + " " +
                             std::to_string(s.turns) + (s.turns == 1 ? " turn" : " turns") +
                             ", level " + std::to_string(s.level) + ", xp " + std::to_string(s.xp));
    }
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

OfferAnswer ask_to_continue(const UnfinishedGame& game) {
    const std::string seed = game.script.seed ? int_to_text(*game.script.seed) : "unknown";
    for (;;) {
        timer_wait(frame_timer);
        clear_window();
        draw_overlay_frame("AN UNFINISHED GAME",
                           "Return: continue it.   Escape: end it and start a new game.");
        set_color(255, 200, 120);
        draw_text("A game on these data files was left without an end.", kOverlayMargin,
                  kOverlayBodyTop);
        set_color(220, 220, 220);
        draw_text("Seed: " + seed, kOverlayMargin, kOverlayBodyTop + 3 * kOverlayLineHeight);
        draw_text("Passes played: " + std::to_string(game.script.passes), kOverlayMargin,
                  kOverlayBodyTop + 4 * kOverlayLineHeight);
        draw_text("Last played: " + game.when, kOverlayMargin,
                  kOverlayBodyTop + 5 * kOverlayLineHeight);
        draw_text("Recording: " + game.recording, kOverlayMargin,
                  kOverlayBodyTop + 7 * kOverlayLineHeight);
        set_color(255, 255, 255);
        present_frame();
        if (close_requested() != 0) return OfferAnswer::Close;
        if (key_hit(key::kReturn) != 0) return OfferAnswer::Continue;
        if (key_hit(key::kEscape) != 0) return OfferAnswer::End;
    }
}

}  // namespace grotmere
