// The first stage of reading a definition file: the whole file becomes one list of tokens before
// any record is parsed. Each token keeps the number of the line it came from, so problems found
// while parsing can name their line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/text_file.hpp"

namespace grotmere {

struct Token {
    std::string text;
    int32_t line = 0;  // 1 for the first line of the file
};

// Reads from `offset` on when it is above 0, else from the start. Tabs vanish, leading spaces and
// whole-line comments ("/" as the first character left) are dropped, and each line is split at
// the delimiters = { } + - * / " and space, each delimiter becoming a one-character token.
std::vector<Token> tokenise_definitions(TextFile& file, int32_t offset);

bool is_definition_delimiter(char c);

}  // namespace grotmere
