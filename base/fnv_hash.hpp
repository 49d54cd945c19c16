// The 64-bit FNV-1a hash, for fingerprints the game compares (a recording's data files, its
// checkpoints). Not for anything an adversary chooses to collide.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace grotmere {

class Fnv1a {
public:
    void add(const void* data, size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < size; ++i) {
            value_ ^= bytes[i];
            value_ *= 0x100000001b3ULL;
        }
    }
    void add(int32_t number) { add(&number, sizeof number); }
    // A text with its length, so that two texts never read as one.
    void add_text(const std::string& text) {
        add(static_cast<int32_t>(text.size()));
        add(text.data(), text.size());
    }
    uint64_t value() const { return value_; }
    // Sixteen hex digits.
    std::string hex() const {
        char text[17];
        std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value_));
        return text;
    }

private:
    uint64_t value_ = 0xcbf29ce484222325ULL;
};

}  // namespace grotmere
