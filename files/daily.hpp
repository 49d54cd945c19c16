// The daily dungeon: every player of a build plays the same generated dungeon on the same day,
// the one of the seed the UTC date gives (2026-12-09 gives 20261209), and the hall of fame marks
// those games with their day, so the day's best can be shown and a result shared.
#pragma once

#include <cstdint>
#include <string>

namespace grotmere {

// "2026-12-09", today in UTC.
std::string utc_date_today();

// The seed of a day's dungeon: its date's digits as a number.
int32_t daily_seed(const std::string& date);

// What a player shares of a daily game: "Grotmere daily 2026-12-09: escaped at depth 5, turn
// 2,140, level 7"; `ending` as the game names its ends ("escaped", "death", ...), `depth` 0 where
// the dungeon names none.
std::string daily_result_line(const std::string& date, const std::string& ending, int32_t depth,
                              int64_t turns, int32_t level);

}  // namespace grotmere
