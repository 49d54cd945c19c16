// Every line the message log was given since the start, for the player to read back. The log
// itself keeps only its nine lines; this record sits beside it, is filled by log_message and is
// read by nothing but the history view, so it never changes what the game does.
//
// Guarantees: a line logged again right after itself is counted, not stored twice; at most
// `kCap` entries are kept, the oldest dropped first. Once full, a new line is written into the
// storage of the one it drops, so a long game's history asks for no more memory.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace grotmere {

class MessageHistory {
public:
    static constexpr size_t kCap = 5000;

    struct Entry {
        std::string text;
        int32_t count = 1;  // how many times in a row it was logged
    };

    void add(std::string_view text);
    size_t size() const { return entries_.size(); }
    // Changes with every line added, counted or stored: two equal readings mean nothing was logged.
    uint64_t version() const { return version_; }
    // 0 the oldest.
    const Entry& at(size_t index) const { return entries_[(oldest_ + index) % entries_.size()]; }
    // The entry as the player reads it: "You move. (x5)" for a line logged five times in a row.
    std::string line(size_t index) const;

private:
    Entry& newest() { return entries_[(oldest_ + entries_.size() - 1) % entries_.size()]; }

    std::vector<Entry> entries_;  // a ring once it holds kCap entries
    size_t oldest_ = 0;
    uint64_t version_ = 0;
};

}  // namespace grotmere
