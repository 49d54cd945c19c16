// The text and number rules every data file relies on. Game texts are byte strings: one character
// per byte, codes 0-255, compared exactly unless a rule says letter case is ignored.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace grotmere {

// Leading white space, an optional sign, then "%" and binary digits, "$" and hex digits (either
// case) or decimal digits, up to the first character that does not fit; no digits give 0. The
// sign is applied last and the value wraps to 32 bits.
int32_t text_to_int(std::string_view text);

// False when the digits that text_to_int reads give a value it has to wrap: a decimal number
// outside -2147483648 to 2147483647, or a "$" or "%" number of more than 32 bits ("$FFFFFFFF",
// which data files use for -1, is in range).
bool text_int_in_range(std::string_view text);

// A data text as a message shows it: between double quotes, control bytes as \xNN, and cut
// after `longest` characters with the full length said, so a megabyte of one word stays readable.
std::string shown_text(std::string_view text, size_t longest = 60);

// Decimal, with a leading "-" for negative values.
std::string int_to_text(int32_t value);

// The same decimal text, held in the object itself, so writing it needs no heap memory.
class Decimal {
public:
    explicit Decimal(int32_t value);
    operator std::string_view() const { return {digits_, size_}; }

private:
    char digits_[12];
    size_t size_;
};

// Replaces `out` with the pieces joined. The text's storage is kept, so a text refilled again
// and again stops asking for memory once it has grown to its longest.
void assign_joined(std::string& out, std::initializer_list<std::string_view> pieces);
void append_joined(std::string& out, std::initializer_list<std::string_view> pieces);

// Only the letters A to Z change.
std::string lower_case(std::string_view text);
// "a Troll", "an Orc"; "something" for an empty name.
std::string with_article(const std::string& name);
bool equals_ignoring_case(std::string_view a, std::string_view b);

// Removes every `ch` from `text` (leading_only 0), or only those at its start (leading_only 1).
void strip_char(std::string& text, char ch, int32_t leading_only);

// Game texts hold one character per byte; outside the game (window captions, JSON) they are
// written as UTF-8, each byte 128-255 becoming the character U+0080-U+00FF.
std::string latin1_to_utf8(std::string_view text);

}  // namespace grotmere
