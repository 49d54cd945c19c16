#include "base/text.hpp"

#include <charconv>

namespace grotmere {

namespace {

bool is_space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// The value of a digit in the given base, or -1 when the character is no such digit.
int32_t digit_value(char c, int32_t base) {
    int32_t value = -1;
    if (c >= '0' && c <= '9') value = c - '0';
    if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
    return value < base ? value : -1;
}

// What stands before the digits of a number: white space, a sign, a base prefix.
struct NumberStart {
    size_t first_digit = 0;
    bool negative = false;
    int32_t base = 10;
};

NumberStart number_start(std::string_view text) {
    NumberStart start;
    size_t& i = start.first_digit;
    while (i < text.size() && is_space(text[i]))
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) start.negative = text[i++] == '-';
    if (i < text.size() && text[i] == '%')
        start.base = 2, ++i;
    else if (i < text.size() && text[i] == '$')
        start.base = 16, ++i;
    return start;
}

}  // namespace

int32_t text_to_int(std::string_view text) {
    const NumberStart start = number_start(text);
    // Unsigned arithmetic wraps by definition; the cast back gives the 32-bit pattern.
    uint32_t value = 0;
    for (size_t i = start.first_digit; i < text.size(); ++i) {
        int32_t digit = digit_value(text[i], start.base);
        if (digit < 0) break;
        value = value * static_cast<uint32_t>(start.base) + static_cast<uint32_t>(digit);
    }
    if (start.negative) value = 0u - value;
    return static_cast<int32_t>(value);
}

bool text_int_in_range(std::string_view text) {
    const NumberStart start = number_start(text);
    const uint64_t largest = start.base != 10 ? 0xFFFFFFFFu
                             : start.negative ? 0x80000000u
                                              : 0x7FFFFFFFu;
    uint64_t value = 0;
    for (size_t i = start.first_digit; i < text.size(); ++i) {
        int32_t digit = digit_value(text[i], start.base);
        if (digit < 0) break;
        value = value * static_cast<uint64_t>(start.base) + static_cast<uint64_t>(digit);
        if (value > largest) return false;
    }
    return true;
}

std::string shown_text(std::string_view text, size_t longest) {
    static const char* const kHex = "0123456789ABCDEF";
    std::string shown = "\"";
    for (size_t i = 0; i < text.size() && i < longest; ++i) {
        auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 32 || byte == 127) {
            shown += "\\x";
            shown += kHex[byte >> 4];
            shown += kHex[byte & 15];
        } else {
            shown += text[i];
        }
    }
    shown += "\"";
    if (text.size() > longest) shown += "... (" + std::to_string(text.size()) + " characters)";
    return shown;
}

std::string int_to_text(int32_t value) {
    return std::to_string(value);
}

Decimal::Decimal(int32_t value) {
    const std::to_chars_result end = std::to_chars(digits_, digits_ + sizeof digits_, value);
    size_ = static_cast<size_t>(end.ptr - digits_);
}

void assign_joined(std::string& out, std::initializer_list<std::string_view> pieces) {
    out.clear();
    append_joined(out, pieces);
}

void append_joined(std::string& out, std::initializer_list<std::string_view> pieces) {
    for (std::string_view piece : pieces)
        out.append(piece);
}

std::string lower_case(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lowered;
}

bool equals_ignoring_case(std::string_view a, std::string_view b) {
    return a.size() == b.size() && lower_case(a) == lower_case(b);
}

void strip_char(std::string& text, char ch, int32_t leading_only) {
    if (leading_only != 0) {
        size_t first = text.find_first_not_of(ch);
        text.erase(0, first == std::string::npos ? text.size() : first);
        return;
    }
    std::erase(text, ch);
}

std::string latin1_to_utf8(std::string_view text) {
    std::string utf8;
    utf8.reserve(text.size());
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8.push_back(c);
        } else {
            utf8.push_back(static_cast<char>(0xC0 | (byte >> 6)));
            utf8.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
        }
    }
    return utf8;
}

std::string with_article(const std::string& name) {
    if (name.empty()) return "something";
    const char first = static_cast<char>(name[0] | 0x20);
    const bool vowel = first == 'a' || first == 'e' || first == 'i' || first == 'o' || first == 'u';
    return (vowel ? "an " : "a ") + name;
}

}  // namespace grotmere
