#include "records/definition_tokens.hpp"

#include <string_view>

#include "base/text.hpp"

namespace grotmere {

namespace {

// The number of the line holding byte `offset`, counting the line ends before it.
int32_t line_at(TextFile& file, int32_t offset) {
    int32_t line = 1;
    std::string scratch;
    seek(file, 0);
    while (at_end(file) == 0 && byte_position(file) < offset) {
        file.read_line_view(scratch);
        if (byte_position(file) <= offset) ++line;
    }
    return line;
}

// Words are cut out of the line whole; each delimiter is a token of its own.
void split_line(std::string_view line, int32_t line_number, std::vector<Token>& tokens) {
    size_t word_start = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        if (!is_definition_delimiter(line[i])) continue;
        if (i > word_start)
            tokens.push_back({line.substr(word_start, i - word_start), line_number});
        tokens.push_back({line.substr(i, 1), line_number});
        word_start = i + 1;
    }
    if (word_start < line.size()) tokens.push_back({line.substr(word_start), line_number});
}

size_t count_tokens(std::string_view line) {
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

// The next line with its tabs taken out and its leading spaces dropped. Lines are looked at in
// place; only one holding a tab or a carriage return is copied into `scratch`.
std::string_view definition_line(TextFile& file, std::string& scratch) {
    std::string_view line = file.read_line_view(scratch);
    if (line.find('\t') != std::string_view::npos) {
        if (line.data() != scratch.data()) scratch.assign(line);
        strip_char(scratch, '\t', 0);
        line = scratch;
    }
    const size_t first = line.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view() : line.substr(first);
}

// Calls take(line, number) for every line from the file's position on that is not blank or a
// comment, tabs taken out and leading spaces dropped.
template <class Take>
void for_each_definition_line(TextFile& file, int32_t line_number, Take&& take) {
    std::string scratch;
    for (; at_end(file) == 0; ++line_number) {
        const std::string_view line = definition_line(file, scratch);
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

Tokens tokenise_definitions(TextFile& file, int32_t offset) {
    const int32_t first_line = offset > 0 ? line_at(file, offset) : 1;
    // Without an offset the reading starts where the file stands, its start for a fresh file.
    const int32_t start = offset > 0 ? offset : byte_position(file);
    // The lines are read twice, measuring first: a large map's records make tens of thousands of
    // tokens, and a vector grown by doubling would hold up to three times their memory at once.
    // The text is then taken in a block that never moves, so the tokens can view it.
    size_t count = 0, characters = 0;
    seek(file, start);
    for_each_definition_line(file, first_line, [&](std::string_view line, int32_t) {
        count += count_tokens(line);
        characters += line.size();
    });
    Tokens tokens;
    tokens.list.reserve(count);
    tokens.text.reserve(characters);
    seek(file, start);
    for_each_definition_line(file, first_line, [&](std::string_view line, int32_t number) {
        const size_t at = tokens.text.size();
        tokens.text.insert(tokens.text.end(), line.begin(), line.end());
        split_line(std::string_view(tokens.text.data() + at, line.size()), number, tokens.list);
    });
    return tokens;
}

}  // namespace grotmere
