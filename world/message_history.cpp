#include "world/message_history.hpp"

#include <cstdint>

namespace grotmere {

void MessageHistory::add(std::string_view text) {
    ++version_;
    if (!entries_.empty() && newest().text == text) {
        // A count that would wrap stays at its largest; the line is still there.
        if (newest().count < INT32_MAX) ++newest().count;
        return;
    }
    if (entries_.size() < kCap) {
        entries_.push_back(Entry{std::string(text), 1});
        return;
    }
    Entry& dropped = entries_[oldest_];
    dropped.text.assign(text);
    dropped.count = 1;
    oldest_ = (oldest_ + 1) % kCap;
}

std::string MessageHistory::line(size_t index) const {
    const Entry& entry = at(index);
    if (entry.count == 1) return entry.text;
    return entry.text + " (x" + std::to_string(entry.count) + ")";
}

}  // namespace grotmere
