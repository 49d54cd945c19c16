#include "world/message_log.hpp"

#include <algorithm>
#include <functional>

#include "base/text.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

// A piece read from a line of the log itself must be copied out before the lines move round.
bool reads_the_log(std::string_view piece) {
    const std::less<const char*> before;
    return std::any_of(message_lines.begin(), message_lines.end(), [&](const std::string& line) {
        const char* start = line.data();
        return !before(piece.data(), start) && before(piece.data(), start + line.capacity() + 1);
    });
}

}  // namespace

int32_t log_message(std::string_view text) {
    return log_message({text});
}

int32_t log_message(std::initializer_list<std::string_view> pieces) {
    if (std::any_of(pieces.begin(), pieces.end(), reads_the_log)) {
        std::string copied;
        assign_joined(copied, pieces);
        return log_message({std::string_view(copied)});
    }
    // Every line moves one place down; the oldest comes round to the top to be written over.
    std::rotate(message_lines.rbegin(), message_lines.rbegin() + 1, message_lines.rend());
    assign_joined(message_lines[0], pieces);
    message_history.add(message_lines[0]);
    return 0;
}

}  // namespace grotmere
