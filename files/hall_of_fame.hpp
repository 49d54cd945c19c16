// The hall of fame: one line for every ended game in grotmere/scores under $XDG_DATA_HOME (or
// ~/.local/share), tab-separated: date, seed, how it ended, turns, level, experience, gold,
// monsters slain, the hash of the data files, the recording's name, and (lines written since
// dungeons have depths) the deepest depth reached and the dungeon's depths (0 and 0 for a
// dungeon made by hand) and the day of a daily game ("-" for any other). The file is rewritten
// whole through a temporary file, so a crash leaves the old list or the new one; lines it cannot
// read are kept as they are and skipped in the ranking, with one warning.
//
// Ranking: an escape before any other end; among escapes fewer turns first, among the others more
// experience first; then the earlier game.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace grotmere {

struct Score {
    std::string date;  // "2026-12-07 14:05:09"
    int32_t seed = 0;
    std::string ending;  // as game_end_name names it: "escaped", "death", ...
    int64_t turns = 0;
    int32_t level = 0;
    int32_t xp = 0;
    int32_t gold = 0;
    int32_t slain = 0;
    std::string data_hash;
    std::string recording;  // its file name, or "-"
    int32_t deepest = 0;    // the deepest depth reached, of `depths`
    int32_t depths = 0;
    std::string daily = "-";  // the day of a daily game, "2026-12-09"
    friend bool operator==(const Score&, const Score&) = default;
};

std::string score_line(const Score& score);
std::optional<Score> read_score_line(std::string_view line);
bool ranks_before(const Score& a, const Score& b);

struct ScoreList {
    std::vector<Score> scores;
    std::vector<std::string> lines;  // every line as read, the unreadable ones too
    int32_t unreadable = 0;
};

// The list in the file's text.
ScoreList read_score_text(std::string_view text);

// Where the list is kept; none when neither XDG_DATA_HOME nor HOME is set.
std::optional<std::string> scores_file();

// Adds the score to the list in `path`; the failure in words, none when it was written.
std::optional<std::string> add_score(const std::string& path, const Score& score);

// The best `count` scores played on these data files, best first.
std::vector<Score> best_scores(const std::vector<Score>& scores, const std::string& data_hash,
                               size_t count);

// grotmere --scores: the best ten games played on the data folder's files (the one named, else
// the one the game would find), on standard output; with `daily`, the day's best daily games.
int print_scores(const std::optional<std::string>& dir, bool daily = false);

// The best `count` daily games of the day, best first.
std::vector<Score> best_of_day(const std::vector<Score>& scores, const std::string& day,
                               size_t count);

// The list a player reads: "1. escaped in 1,204 turns  level 5 ..." one a line.
std::string score_table(const std::vector<Score>& best);

}  // namespace grotmere
