#include "world/message_history.hpp"

#include <cstdint>

namespace grotmere {

void MessageHistory::add(const std::string& text) {
    if (!entries_.empty() && entries_.back().text == text) {
        // A count that would wrap stays at its largest; the line is still there.
        if (entries_.back().count < INT32_MAX) ++entries_.back().count;
        return;
    }
    entries_.push_back(Entry{text, 1});
    if (entries_.size() > kCap) entries_.pop_front();
}

std::string MessageHistory::line(size_t index) const {
    const Entry& entry = entries_[index];
    if (entry.count == 1) return entry.text;
    return entry.text + " (x" + std::to_string(entry.count) + ")";
}

}  // namespace grotmere
