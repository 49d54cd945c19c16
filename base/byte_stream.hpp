// Numbers and texts as bytes, for the game's state kept in memory and beside a recording. A writer
// appends whole numbers as variable-length words (small ones take one byte, negative ones as
// small as positive ones) and texts with their length. A reader takes them back in the same order
// and trusts nothing it reads: every count and length is held to a bound the caller names, a read
// past the end or beyond a bound fails, and once it has failed every read answers zero, so a caller
// checks failed() once at the end.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace grotmere {

class ByteWriter {
public:
    void byte(uint8_t value) { bytes_.push_back(static_cast<char>(value)); }
    void unsigned_number(uint64_t value);
    void number(int64_t value);
    void text(std::string_view text);
    // Eight bytes, lowest first, for fingerprints that are all bits.
    void word(uint64_t value);
    void raw(std::string_view bytes) { bytes_.append(bytes); }

    const std::string& bytes() const { return bytes_; }
    std::string take() { return std::move(bytes_); }

private:
    std::string bytes_;
};

class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : rest_(bytes) {}

    uint8_t byte();
    uint64_t unsigned_number();
    int64_t number();
    // A number that must fit 32 bits.
    int32_t int32();
    // A count of at most `largest`.
    size_t count(size_t largest);
    std::string_view text(size_t longest);
    uint64_t word();
    // The next `size` bytes as they are.
    std::string_view raw(size_t size);

    void fail() {
        failed_ = true;
        rest_ = {};
    }
    bool failed() const { return failed_; }
    bool at_end() const { return rest_.empty(); }
    size_t left() const { return rest_.size(); }

private:
    std::string_view rest_;
    bool failed_ = false;
};

}  // namespace grotmere
