#include "base/byte_stream.hpp"

namespace grotmere {

void ByteWriter::unsigned_number(uint64_t value) {
    while (value >= 0x80) {
        byte(static_cast<uint8_t>(value | 0x80));
        value >>= 7;
    }
    byte(static_cast<uint8_t>(value));
}

// The sign goes to the lowest bit, so -1 takes a byte as 1 does.
void ByteWriter::number(int64_t value) {
    const uint64_t bits = static_cast<uint64_t>(value);
    unsigned_number(bits << 1 ^ (value < 0 ? ~uint64_t{0} : 0));
}

void ByteWriter::text(std::string_view text) {
    unsigned_number(text.size());
    bytes_.append(text);
}

void ByteWriter::word(uint64_t value) {
    for (int k = 0; k < 8; ++k)
        byte(static_cast<uint8_t>(value >> (8 * k)));
}

uint8_t ByteReader::byte() {
    if (rest_.empty()) {
        fail();
        return 0;
    }
    const auto value = static_cast<uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return value;
}

uint64_t ByteReader::unsigned_number() {
    uint64_t value = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        const uint8_t next = byte();
        value |= static_cast<uint64_t>(next & 0x7f) << shift;
        if ((next & 0x80) == 0) return failed_ ? 0 : value;
    }
    fail();
    return 0;
}

int64_t ByteReader::number() {
    const uint64_t bits = unsigned_number();
    return static_cast<int64_t>(bits >> 1 ^ (bits & 1 ? ~uint64_t{0} : 0));
}

int32_t ByteReader::int32() {
    const int64_t value = number();
    if (value >= INT32_MIN && value <= INT32_MAX) return static_cast<int32_t>(value);
    fail();
    return 0;
}

size_t ByteReader::count(size_t largest) {
    const uint64_t value = unsigned_number();
    if (value <= largest) return static_cast<size_t>(value);
    fail();
    return 0;
}

std::string_view ByteReader::text(size_t longest) {
    return raw(count(longest));
}

uint64_t ByteReader::word() {
    uint64_t value = 0;
    for (int k = 0; k < 8; ++k)
        value |= static_cast<uint64_t>(byte()) << (8 * k);
    return failed_ ? 0 : value;
}

std::string_view ByteReader::raw(size_t size) {
    if (size > rest_.size()) {
        fail();
        return {};
    }
    const std::string_view taken = rest_.substr(0, size);
    rest_.remove_prefix(size);
    return taken;
}

}  // namespace grotmere
