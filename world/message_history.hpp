// Every line the message log was given since the start, for the player to read back. The log
// itself keeps only its nine lines; this record sits beside it, is filled by log_message and is
// read by nothing but the history view, so it never changes what the game does.
//
// Guarantees: a line logged again right after itself is counted, not stored twice; at most
// `kCap` entries are kept, the oldest dropped first. The texts lie in one block of fixed slots
// taken at the game's start (or the first line), so logging asks for no memory; only a line
// longer than a slot asks for its own, once per slot.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace grotmere {

class ByteReader;
class ByteWriter;

class MessageHistory {
public:
    static constexpr size_t kCap = 5000;
    // The longest line kept in the block; longer ones are kept beside it.
    static constexpr size_t kSlot = 120;

    struct Entry {
        std::string_view text;  // valid until the entry is dropped
        int32_t count = 1;      // how many times in a row it was logged
    };

    MessageHistory() = default;
    // The entries point into the history's own storage, which moves along but is never shared.
    MessageHistory(const MessageHistory&) = delete;
    MessageHistory& operator=(const MessageHistory&) = delete;
    MessageHistory(MessageHistory&&) noexcept = default;
    MessageHistory& operator=(MessageHistory&&) noexcept = default;

    // Takes the storage of every line now, as a game's start does, so that no turn asks for it.
    void reserve_storage();
    void add(std::string_view text);
    size_t size() const { return entries_.size(); }
    // Changes with every line added, counted or stored: two equal readings mean nothing was logged.
    uint64_t version() const { return version_; }
    // 0 the oldest.
    const Entry& at(size_t index) const { return entries_[(oldest_ + index) % entries_.size()]; }
    // The entry as the player reads it: "You move. (x5)" for a line logged five times in a row.
    std::string line(size_t index) const;

    // The entries, oldest first, and the version, for a snapshot of the game; reading them back
    // replaces the whole history, or fails and leaves it as it was.
    void write_to(ByteWriter& out) const;
    bool read_from(ByteReader& in);

private:
    Entry& newest() { return entries_[(oldest_ + entries_.size() - 1) % entries_.size()]; }
    // The text stored in the slot of entry `slot`.
    std::string_view keep(size_t slot, std::string_view text);

    std::vector<Entry> entries_;  // a ring once it holds kCap entries
    std::unique_ptr<char[]> slots_;
    std::vector<std::string> long_lines_;  // by slot, for lines longer than kSlot
    size_t oldest_ = 0;
    uint64_t version_ = 0;
};

}  // namespace grotmere
