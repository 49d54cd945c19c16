// Feeds arbitrary bytes as the hall of fame's list. Every line is kept, and a score read is
// written as a line that reads back to the same line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "files/hall_of_fame.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const grotmere::ScoreList list = grotmere::read_score_text(bytes);
    for (const grotmere::Score& score : list.scores) {
        const std::string line = grotmere::score_line(score);
        const auto back = grotmere::read_score_line(line);
        if (!back || grotmere::score_line(*back) != line) std::abort();
    }
    if (list.scores.size() + static_cast<size_t>(list.unreadable) > list.lines.size()) std::abort();
    return 0;
}
