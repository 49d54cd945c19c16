// Every line the message log was given since the start, for the player to read back. The log
// itself keeps only its nine lines; this record sits beside it, is filled by log_message and is
// read by nothing but the history view, so it never changes what the game does.
//
// Guarantees: a line logged again right after itself is counted, not stored twice; at most
// `kCap` entries are kept, the oldest dropped first.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

namespace grotmere {

class MessageHistory {
public:
    static constexpr size_t kCap = 5000;

    struct Entry {
        std::string text;
        int32_t count = 1;  // how many times in a row it was logged
    };

    void add(const std::string& text);
    size_t size() const { return entries_.size(); }
    const Entry& at(size_t index) const { return entries_[index]; }  // 0 the oldest
    // The entry as the player reads it: "You move. (x5)" for a line logged five times in a row.
    std::string line(size_t index) const;

private:
    std::deque<Entry> entries_;
};

}  // namespace grotmere
