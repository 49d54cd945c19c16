#include "world/message_history.hpp"

#include <algorithm>
#include <cstdint>

namespace grotmere {

std::string_view MessageHistory::keep(size_t slot, std::string_view text) {
    if (text.size() <= kSlot) {
        char* place = slots_.get() + slot * kSlot;
        std::copy(text.begin(), text.end(), place);
        return {place, text.size()};
    }
    if (long_lines_.empty()) long_lines_.resize(kCap);
    return long_lines_[slot].assign(text);
}

void MessageHistory::reserve_storage() {
    if (slots_) return;
    // Left unfilled, as make_unique_for_overwrite would, which the browser's library lacks.
    slots_.reset(new char[kCap * kSlot]);
    entries_.reserve(kCap);
}

void MessageHistory::add(std::string_view text) {
    ++version_;
    if (!entries_.empty() && newest().text == text) {
        // A count that would wrap stays at its largest; the line is still there.
        if (newest().count < INT32_MAX) ++newest().count;
        return;
    }
    reserve_storage();
    if (entries_.size() < kCap) {
        entries_.push_back(Entry{keep(entries_.size(), text), 1});
        return;
    }
    Entry& dropped = entries_[oldest_];
    dropped.text = keep(oldest_, text);
    dropped.count = 1;
    oldest_ = (oldest_ + 1) % kCap;
}

std::string MessageHistory::line(size_t index) const {
    const Entry& entry = at(index);
    if (entry.count == 1) return std::string(entry.text);
    return std::string(entry.text) + " (x" + std::to_string(entry.count) + ")";
}

}  // namespace grotmere
