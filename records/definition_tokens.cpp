#include "records/definition_tokens.hpp"

#include "base/text.hpp"

namespace grotmere {

namespace {

// The number of the line holding byte `offset`, counting the line ends before it.
int32_t line_at(TextFile& file, int32_t offset) {
    int32_t line = 1;
    seek(file, 0);
    while (at_end(file) == 0 && byte_position(file) < offset) {
        read_line(file);
        if (byte_position(file) <= offset) ++line;
    }
    return line;
}

void split_line(const std::string& line, int32_t line_number, std::vector<Token>& tokens) {
    std::string word;
    for (char c : line) {
        if (!is_definition_delimiter(c)) {
            word.push_back(c);
            continue;
        }
        if (!word.empty()) tokens.push_back({std::move(word), line_number});
        word.clear();
        tokens.push_back({std::string(1, c), line_number});
    }
    if (!word.empty()) tokens.push_back({std::move(word), line_number});
}

}  // namespace

bool is_definition_delimiter(char c) {
    switch (c) {
        case '=':
        case '{':
        case '}':
        case '+':
        case '-':
        case '*':
        case '/':
        case '"':
        case ' ':
            return true;
        default:
            return false;
    }
}

std::vector<Token> tokenise_definitions(TextFile& file, int32_t offset) {
    int32_t line_number = 1;
    if (offset > 0) {
        line_number = line_at(file, offset);
        seek(file, offset);
    }
    std::vector<Token> tokens;
    for (; at_end(file) == 0; ++line_number) {
        std::string line = read_line(file);
        strip_char(line, '\t', 0);
        strip_char(line, ' ', 1);
        // A comment is a whole line; "/" anywhere else is a delimiter like the others.
        if (line.empty() || line.front() == '/') continue;
        split_line(line, line_number, tokens);
    }
    return tokens;
}

}  // namespace grotmere
