// A 64-bit fingerprint of a long stream of numbers and texts, fast enough to take of a whole game
// at every checkpoint of its recording: values are folded in whole, 32-bit numbers two to a word,
// and the words go to four lanes in turn, so the processor works on four at once. The same stream
// gives the same value on every machine the game runs on. Not for anything an adversary chooses
// to collide.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace grotmere {

class LaneHash {
public:
    void add(uint64_t word) {
        flush_half();
        fold(word);
    }
    // Two numbers in a row share a word.
    void add_int(int32_t value) {
        const uint64_t bits = static_cast<uint32_t>(value);
        if (has_half_) {
            has_half_ = false;
            fold(half_ | bits << 32);
        } else {
            half_ = bits;
            has_half_ = true;
        }
    }
    void add_signed(int64_t value) { add(static_cast<uint64_t>(value)); }
    // Many words at once, the lanes kept in registers meanwhile: what add gives word by word.
    void add_words(const uint64_t* words, size_t count) {
        flush_half();
        size_t k = 0;
        for (; k < count && (count_ & 3) != 0; ++k)
            fold(words[k]);
        uint64_t a = lanes_[0], b = lanes_[1], c = lanes_[2], d = lanes_[3];
        for (; k + 4 <= count; k += 4) {
            a = round(a, words[k]);
            b = round(b, words[k + 1]);
            c = round(c, words[k + 2]);
            d = round(d, words[k + 3]);
            count_ += 4;
        }
        lanes_[0] = a;
        lanes_[1] = b;
        lanes_[2] = c;
        lanes_[3] = d;
        for (; k < count; ++k)
            fold(words[k]);
    }
    // The first `words` words of each of `items` items lying `stride` bytes apart, in order: what
    // add gives them word by word, read in one sweep with the lanes in registers.
    void add_strided_words(const char* first, size_t stride, size_t items, size_t words) {
        flush_half();
        if (words != 4 || (count_ & 3) != 0) {
            for (size_t item = 0; item < items; ++item) {
                for (size_t k = 0; k < words; ++k)
                    fold(load(first + item * stride + 8 * k));
            }
            return;
        }
        uint64_t a = lanes_[0], b = lanes_[1], c = lanes_[2], d = lanes_[3];
        for (size_t item = 0; item < items; ++item) {
            const char* at = first + item * stride;
            a = round(a, load(at));
            b = round(b, load(at + 8));
            c = round(c, load(at + 16));
            d = round(d, load(at + 24));
        }
        lanes_[0] = a;
        lanes_[1] = b;
        lanes_[2] = c;
        lanes_[3] = d;
        count_ += 4 * items;
    }
    // A text with its length, so that two texts never read as one.
    void add_text(std::string_view text) {
        add(text.size());
        size_t at = 0;
        for (; at + 8 <= text.size(); at += 8) {
            uint64_t word;
            std::memcpy(&word, text.data() + at, 8);
            fold(word);
        }
        if (at < text.size()) {
            uint64_t word = 0;
            std::memcpy(&word, text.data() + at, text.size() - at);
            fold(word);
        }
    }
    uint64_t value() const {
        LaneHash done = *this;
        done.flush_half();
        uint64_t merged = done.count_;
        for (uint64_t lane : done.lanes_)
            merged = mix(merged ^ mix(lane));
        return merged;
    }

private:
    static constexpr uint64_t kPrime1 = 0x9E3779B185EBCA87ULL;
    static constexpr uint64_t kPrime2 = 0xC2B2AE3D27D4EB4FULL;

    static uint64_t load(const char* at) {
        uint64_t word;
        std::memcpy(&word, at, sizeof word);
        return word;
    }
    static uint64_t round(uint64_t lane, uint64_t word) {
        lane = (lane ^ word) * kPrime1;
        return lane ^ (lane >> 29);
    }
    void fold(uint64_t word) {
        uint64_t& lane = lanes_[count_++ & 3];
        lane = round(lane, word);
    }
    void flush_half() {
        if (!has_half_) return;
        has_half_ = false;
        fold(half_ | uint64_t{1} << 63);
    }
    static uint64_t mix(uint64_t value) {
        value ^= value >> 33;
        value *= kPrime2;
        value ^= value >> 29;
        value *= kPrime1;
        return value ^ (value >> 32);
    }

    uint64_t lanes_[4] = {kPrime1, kPrime2, kPrime1 ^ kPrime2, ~kPrime1};
    uint64_t count_ = 0;
    uint64_t half_ = 0;
    bool has_half_ = false;
};

}  // namespace grotmere
