// The first stage of reading a definition file: the whole file becomes one list of tokens before
// any record is parsed. Each token keeps the number of the line it came from, so problems found
// while parsing can name their line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/text_file.hpp"

namespace grotmere {

struct Token {
    std::string_view text;  // a view of its Tokens' text
    int32_t line = 0;       // 1 for the first line of the file
};

// A file's tokens with the text they view: the lines that make tokens, kept one after another.
// Moved as a whole, the views stay valid (a vector's block moves with it).
struct Tokens {
    std::vector<char> text;
    std::vector<Token> list;
};

// Reads from `offset` on when it is above 0, else from the start. Tabs vanish, leading spaces and
// whole-line comments ("/" as the first character left) are dropped, and each line is split at
// the delimiters = { } + - * / " and space, each delimiter becoming a one-character token.
Tokens tokenise_definitions(TextFile& file, int32_t offset);

bool is_definition_delimiter(char c);

}  // namespace grotmere
