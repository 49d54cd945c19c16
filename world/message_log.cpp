#include "world/message_log.hpp"

#include "world/world_state.hpp"

namespace grotmere {

int32_t log_message(const std::string& text) {
    for (int32_t i = kMessageLines - 2; i >= 0; --i)
        message_lines[i + 1] = message_lines[i];
    message_lines[0] = text;
    message_history.add(text);
    return 0;
}

}  // namespace grotmere
