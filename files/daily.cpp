#include "files/daily.hpp"

#include <ctime>

#include "replay/playback_checks.hpp"

namespace grotmere {

std::string utc_date_today() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &utc);
    return text;
}

int32_t daily_seed(const std::string& date) {
    int32_t seed = 0;
    for (const char c : date) {
        if (c >= '0' && c <= '9') seed = seed * 10 + (c - '0');
    }
    return seed;
}

std::string daily_result_line(const std::string& date, const std::string& ending, int32_t depth,
                              int64_t turns, int32_t level) {
    const std::string how = ending == "escaped" ? "escaped" : ending == "death" ? "died" : "left";
    std::string line = "Grotmere daily " + date + ": " + how;
    if (depth > 0) line += " at depth " + std::to_string(depth);
    return line + ", turn " + grouped_number(turns) + ", level " + std::to_string(level);
}

}  // namespace grotmere
