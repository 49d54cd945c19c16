// What the command lines of grotmere and grotmere-sim share: whole numbers and seeds.
#pragma once

#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace grotmere {

// The whole text as a decimal number, or nothing.
inline std::optional<int64_t> parse_whole_number(const std::string& text) {
    int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// A seed is any 32-bit pattern, written signed or unsigned.
inline std::optional<int32_t> parse_seed(const std::string& text) {
    auto value = parse_whole_number(text);
    if (!value || *value < std::numeric_limits<int32_t>::min() ||
        *value > std::numeric_limits<uint32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(static_cast<uint32_t>(*value));
}

}  // namespace grotmere
