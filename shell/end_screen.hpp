// The window's end screen after a death or an escape (after the rules' own notice): it waits for
// Return, a new game, or Escape or the window's close, the end.
#pragma once

#include <cstdint>
#include <string>

#include "files/hall_of_fame.hpp"
#include "files/unfinished_game.hpp"
#include "view/end_screen.hpp"

namespace grotmere {

enum class AfterTheEnd { NewGame, Quit };

// "Killed by a Troll on turn 948.", from what the run's chronicle noted; `ending` as
// game_end_name names it.
std::string ending_words(const std::string& ending, int64_t turns);

// The facts of the world as it ended.
EndScreenFacts end_screen_facts(const std::string& ending, int64_t turns,
                                const std::string& morgue_path);

// This game's line in the hall of fame, from the world as it ended.
Score score_of_game(const std::string& date, int32_t seed, const std::string& ending, int64_t turns,
                    const std::string& data_hash, const std::string& recording);

// The best ten of the hall of fame as the end screen lists them, this game's line marked.
void show_best_scores(EndScreenFacts& facts, const std::vector<Score>& best, const Score& game);

AfterTheEnd show_end_screen(const EndScreenFacts& facts);

// What the player answered to the offer of the unfinished game: Return continues it, Escape ends
// it; the window's close answers nothing, and leaves it kept for the next start.
enum class OfferAnswer { Continue, End, Close };
OfferAnswer ask_to_continue(const UnfinishedGame& game);

}  // namespace grotmere
