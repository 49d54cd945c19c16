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

size_t count_tokens(const std::string& line) {
    size_t count = 0;
    bool in_word = false;
    for (char c : line) {
        if (!is_definition_delimiter(c)) {
            in_word = true;
            continue;
        }
        count += in_word ? 2 : 1;
        in_word = false;
    }
    return count + (in_word ? 1 : 0);
}

// Calls take(line, number) for every line from the file's position on that is not blank or a
// comment, tabs taken out and leading spaces dropped.
template <class Take>
void for_each_definition_line(TextFile& file, int32_t line_number, Take&& take) {
    for (; at_end(file) == 0; ++line_number) {
        std::string line = read_line(file);
        strip_char(line, '\t', 0);
        strip_char(line, ' ', 1);
        // A comment is a whole line; "/" anywhere else is a delimiter like the others.
        if (line.empty() || line.front() == '/') continue;
        take(line, line_number);
    }
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
    const int32_t first_line = offset > 0 ? line_at(file, offset) : 1;
    // Without an offset the reading starts where the file stands, its start for a fresh file.
    const int32_t start = offset > 0 ? offset : byte_position(file);
    // The lines are read twice, counting first: a large map's records make tens of thousands of
    // tokens, and a vector grown by doubling would hold up to three times their memory at once.
    size_t count = 0;
    seek(file, start);
    for_each_definition_line(
        file, first_line, [&](const std::string& line, int32_t) { count += count_tokens(line); });
    std::vector<Token> tokens;
    tokens.reserve(count);
    seek(file, start);
    for_each_definition_line(file, first_line, [&](const std::string& line, int32_t number) {
        split_line(line, number, tokens);
    });
    return tokens;
}

}  // namespace grotmere
