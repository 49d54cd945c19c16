#include "records/definition_parser.hpp"

#include <algorithm>
#include <memory>
#include <utility>

#include "base/random.hpp"
#include "base/text.hpp"
#include "records/bif_list.hpp"

namespace grotmere {

namespace {

// Whether the token is the one character `c`: the parser's commonest question, asked of every
// token, and cheaper put this way than as a comparison with a C string.
bool is(std::string_view text, char c) {
    return text.size() == 1 && text[0] == c;
}

// One file's parse: a single pass over its tokens, following the format's state machine.
class DefinitionParser {
public:
    DefinitionParser(LoadContext& context, std::string file, Tokens tokens)
        : context_(context),
          file_(std::move(file)),
          text_of_tokens_(std::move(tokens.text)),
          tokens_(std::move(tokens.list)) {
        find_include_ends();
    }

    void run() {
        while (position_ < tokens_.size()) {
            const Token& token = tokens_[position_++];
            if (in_record_) {
                record_token(token);
            } else {
                outside_token(token);
            }
        }
        if (in_record_ && in_quote_) {
            warn_at_end("the file ends inside the quoted text begun on line " +
                        int_to_text(quote_line_));
        }
        if (in_record_) {
            warn_at_end("the file ends inside the " + type_->Name() + " record begun on line " +
                        int_to_text(record_line_) + "; that record is not added");
        }
        if (warnings_ > kMostWarningsPerFile) {
            context_.problems.push_back(
                {file_, 0,
                 int_to_text(warnings_ - kMostWarningsPerFile) + " more problems are not shown"});
        }
    }

private:
    // --- outside a record ---------------------------------------------------------------------

    void outside_token(const Token& token) {
        const std::string_view text = token.text;
        if (text.front() == '<') return include(token);
        if (is(text, '{')) return open_record(token);
        if (is(text, ' ')) return;
        if (is(text, '}') || is(text, '=')) {
            return warn(token.line, "\"" + std::string(text) + "\" outside a record; ignored");
        }
        // The last type name before "{" counts; each one makes its record at once, as the
        // format says, except a type that only the rules make (the map object would rebuild
        // the map's tiles, a camera would join the cameras drawn every frame).
        type_name_ = text;
        type_ = TTypeId::ForName(text);
        record_ = type_ != nullptr && type_->FromData() ? type_->NewObject() : nullptr;
        if (type_ != nullptr && !type_->FromData()) refuse_rules_only_type(token.line);
    }

    // Said once per load, however often the name stands in the files.
    void refuse_rules_only_type(int32_t line) {
        if (!context_.refused_types.insert(type_).second) return;
        warn(line, "a " + type_->Name() +
                       " record cannot come from a data file: only the game makes one; this "
                       "and every later " +
                       type_->Name() + " name or record in this load is skipped");
    }

    void open_record(const Token& token) {
        if (type_name_.empty()) {
            warn(token.line, "\"{\" without a record type name; skipped up to its \"}\"");
            return skip_record_body(token.line);
        }
        if (type_ == nullptr) {
            warn(token.line,
                 "unknown record type " + shown_text(type_name_) + "; skipped up to its \"}\"");
            return skip_record_body(token.line);
        }
        if (record_ == nullptr) return skip_record_body(token.line);
        in_record_ = true;
        record_line_ = token.line;
        expecting_value_ = false;
        field_ = nullptr;
        key_.clear();
        in_quote_ = false;
    }

    // A "}" inside quotes does not end the skipped body.
    void skip_record_body(int32_t line) {
        forget_type_name();
        bool quoted = false;
        while (position_ < tokens_.size()) {
            const std::string_view text = tokens_[position_++].text;
            if (is(text, '"')) quoted = !quoted;
            if (is(text, '}') && !quoted) return;
        }
        warn_at_end("the file ends inside the record skipped on line " + int_to_text(line));
    }

    void forget_type_name() {
        type_name_.clear();
        type_ = nullptr;
        record_ = nullptr;
    }

    // --- includes -----------------------------------------------------------------------------

    // For each token, the index of the first token at or after it on its line that ends with
    // ">", so that an unclosed include costs one look-up instead of a scan to the end of the file.
    // An include ends on its own line: one left open must not take in the next line's words.
    void find_include_ends() {
        include_end_.assign(tokens_.size() + 1, tokens_.size());
        for (size_t i = tokens_.size(); i-- > 0;) {
            const bool same_line_follows =
                i + 1 < tokens_.size() && tokens_[i + 1].line == tokens_[i].line;
            include_end_[i] = tokens_[i].text.back() == '>' ? i
                              : same_line_follows           ? include_end_[i + 1]
                                                            : tokens_.size();
        }
    }

    void include(const Token& token) {
        size_t first = position_ - 1;
        size_t last = include_end_[first];
        if (last == tokens_.size()) {
            return warn(token.line, "the include " + shown_text(token.text) +
                                        " has no closing \">\" on its line; ignored");
        }
        // The name runs over the tokens that a slash or a space split it into.
        std::string name;
        for (size_t i = first; i <= last; ++i)
            name += tokens_[i].text;
        position_ = last + 1;
        include_file(name.substr(1, name.size() - 2), token.line);
    }

    void include_file(const std::string& name, int32_t line) {
        if (!inside_working_folder(name)) {
            return warn(line, "the include " + shown_text(name) +
                                  " lies outside the game's folder; refused");
        }
        std::string identity = file_identity(name);
        auto& chain = context_.files_being_read;
        if (std::find(chain.begin(), chain.end(), identity) != chain.end()) {
            return warn(line, shown_text(name) +
                                  " is already being read (an include cycle); "
                                  "include skipped");
        }
        if (static_cast<int32_t>(chain.size()) >= kMaxIncludeDepth) {
            return warn(line, "includes nested deeper than " + int_to_text(kMaxIncludeDepth) +
                                  " files; " + shown_text(name) + " skipped");
        }
        if (context_.includes_left <= 0) {
            return warn(line, "more than " + int_to_text(kMaxIncludedFiles) +
                                  " included files in one load; " + shown_text(name) + " skipped");
        }
        --context_.includes_left;
        TextFileHandle file = open_definition_file(name);
        if (!file) {
            return warn(line, "cannot open included file " + shown_text(name) + " (" + kUnopenable +
                                  "); include skipped");
        }
        Tokens tokens = tokenise_definitions(*file, 0);
        close_file(file);
        chain.push_back(identity);
        load_tokens(context_, name, std::move(tokens));
        chain.pop_back();
    }

    // --- inside a record ----------------------------------------------------------------------

    void record_token(const Token& token) {
        const std::string_view text = token.text;
        if (in_quote_) {
            if (is(text, '"')) return end_quote(token);
            text_ += text;
            if (is(text, '{') || is(text, '}')) quote_holds_brace_ = true;
            return;
        }
        if (is(text, '"')) {
            in_quote_ = true;
            quote_line_ = token.line;
            quote_holds_brace_ = false;
            text_.clear();
            return;
        }
        if (is(text, '}')) return close_record();
        if (expecting_value_) return value_token(token);
        if (is(text, '=')) {
            expecting_value_ = true;
        } else if (!is(text, ' ')) {
            // The last word before "=" is the key.
            key_ = text;
            field_ = type_->FindField(text);
        }
    }

    void value_token(const Token& token) {
        const std::string_view text = token.text;
        if (is(text, ' ')) return;
        // A remembered sign waits for a plain value: quoted texts and bracket values pass it by.
        if (text.front() == '[') return bracket_value(token);
        if (is(text, '-')) {
            negative_ = true;
            return;
        }
        const bool negative = negative_;
        negative_ = false;
        if (negative) return set_value("-" + std::string(text), token.line);
        set_value(text, token.line);
    }

    void end_quote(const Token& token) {
        in_quote_ = false;
        // A quoted text that runs over lines and takes in a brace has most likely lost its
        // closing quote, and with it the records it swallowed.
        if (quote_holds_brace_ && token.line != quote_line_) {
            warn(quote_line_, "the quoted text begun here runs on to line " +
                                  int_to_text(token.line) +
                                  " and takes in a \"{\" or \"}\"; is its closing quote missing?");
        }
        // A quoted text where a key is expected is dropped.
        if (expecting_value_) set_value(text_, token.line);
    }

    void set_value(std::string_view text, int32_t line) {
        expecting_value_ = false;
        if (!field_accepts_value(line, "value ignored")) return;
        warn_if_out_of_range(text, line);
        field_->set_text(*record_, text);
    }

    // The value wraps as the number rules say; the author still learns that it was not meant.
    void warn_if_out_of_range(std::string_view text, int32_t line) {
        if (field_->Kind() != FieldKind::Int || text_int_in_range(text)) return;
        warn(line, "the number " + shown_text(text) + " for \"" + field_->Name() +
                       "\" lies outside the 32-bit range; it is kept as " +
                       int_to_text(text_to_int(text)));
    }

    bool field_accepts_value(int32_t line, const std::string& outcome) {
        if (field_ == nullptr) {
            warn(line, key_.empty()
                           ? "a value without a key; " + outcome
                           : type_->Name() + " has no field " + shown_text(key_) + "; " + outcome);
            return false;
        }
        if (!field_->is_int_or_text()) {
            warn(line, "the field \"" + field_->Name() + "\" of " + type_->Name() +
                           " is neither a number nor a text; " + outcome);
            return false;
        }
        return true;
    }

    void append(const RecordRef& record) {
        context_.list.append(record);
        if (context_.origins) context_.origins->push_back({record, file_, record_line_});
    }

    void close_record() {
        if (pending_.empty()) {
            append(record_);
        } else {
            append_list_copies();
        }
        pending_.clear();
        in_record_ = false;
        forget_type_name();
    }

    // One copy per list position; a field whose list is shorter keeps the record's value. The
    // entries are sorted by position once (keeping the order they were made in), so a list of
    // many elements costs its length, not its length squared.
    void append_list_copies() {
        std::stable_sort(pending_.begin(), pending_.end(),
                         [](const auto& a, const auto& b) { return a->ID < b->ID; });
        const int32_t copies = pending_.back()->ID;
        auto entry = pending_.begin();
        for (int32_t k = 1; k <= copies; ++k) {
            RecordRef copy = clone_record(*record_);
            for (; entry != pending_.end() && (*entry)->ID == k; ++entry)
                (*entry)->feld->Set(*copy, (*entry)->wert);
            append(copy);
        }
    }

    // --- bracket values -----------------------------------------------------------------------

    void bracket_value(const Token& token) {
        expecting_value_ = false;
        if (is(token.text, '[') && next_non_space_is_quote()) return text_list(token.line);
        std::string text = gather_bracket(token);
        if (text.find(']') == std::string::npos) {
            warn(token.line, "the bracket value " + shown_text(text) + " has no closing \"]\"");
        }
        if (text.find('_') != std::string::npos) return range(text, token.line);
        if (text.find(',') != std::string::npos) return list(text, token.line);
        single_element(text, token.line);
    }

    // A sign or a space splits a bracket value into several tokens ("[-2_5]", "[1, 2]"). When a
    // "]" follows on the same line with only words, signs and spaces before it, the pieces are
    // joined back without the spaces; otherwise the token stands alone, as the format reads it.
    std::string gather_bracket(const Token& token) {
        std::string text(token.text);
        bool closed = text.find(']') != std::string::npos;
        size_t next = position_;
        while (!closed && next < tokens_.size()) {
            const std::string_view piece = tokens_[next].text;
            bool joins = is(piece, ' ') || is(piece, '-') || is(piece, '+') ||
                         !is_definition_delimiter(piece.front());
            if (tokens_[next].line != token.line || !joins) break;
            if (!is(piece, ' ')) {
                text += piece;
                closed = piece.find(']') != std::string::npos;
            }
            ++next;
        }
        if (!closed) return std::string(token.text);
        position_ = next;
        return text;
    }

    bool next_non_space_is_quote() const {
        size_t i = position_;
        while (i < tokens_.size() && is(tokens_[i].text, ' '))
            ++i;
        return i < tokens_.size() && is(tokens_[i].text, '"');
    }

    void range(const std::string& text, int32_t line) {
        // Drawing only for a real field keeps a mistyped key from shifting later rolls.
        if (!field_accepts_value(line, "range not drawn")) return;
        size_t underscore = text.find('_');
        const std::string low_text = text.substr(1, underscore - 1);
        const std::string high_text = text.substr(underscore + 1);
        warn_if_out_of_range(low_text, line);
        warn_if_out_of_range(high_text, line);
        // A bound without a digit ("[_]", "[a_b]") reads as 0, as the number rules say.
        if (low_text.find_first_of("0123456789") == std::string::npos ||
            high_text.find_first_of("0123456789") == std::string::npos) {
            warn(line, "the range " + shown_text(text) + " has a bound that holds no number; " +
                           "it is read as 0");
        }
        int32_t low = text_to_int(low_text);
        int32_t high = text_to_int(high_text);
        field_->Set(*record_, int_to_text(random_range(low, high)));
    }

    // Elements run from "[" or a comma to the next comma; the last one ends before the value's
    // last character, its "]".
    void list(const std::string& text, int32_t line) {
        std::vector<std::string> elements;
        size_t start = 1;
        for (size_t comma = text.find(','); comma != std::string::npos;
             comma = text.find(',', start)) {
            elements.push_back(text.substr(start, comma - start));
            start = comma + 1;
        }
        size_t end = text.size() - 1;
        elements.push_back(start < end ? text.substr(start, end - start) : std::string());
        add_list_entries(elements, line);
    }

    // "[5]" holds one element: it sets the field like a plain value.
    void single_element(std::string text, int32_t line) {
        text.erase(0, 1);
        if (!text.empty() && text.back() == ']') text.pop_back();
        if (text.empty()) return warn(line, "an empty bracket value; ignored");
        set_value(text, line);
    }

    // [ "first text", "second text" ]: the tokens between each pair of quotes are one element.
    void text_list(int32_t line) {
        std::vector<std::string> elements;
        for (;;) {
            skip_spaces();
            ++position_;  // the opening quote
            std::string element;
            while (position_ < tokens_.size() && !is(tokens_[position_].text, '"')) {
                element += tokens_[position_++].text;
            }
            if (position_ >= tokens_.size()) return;  // the end of the file reports the record
            ++position_;                              // the closing quote
            elements.push_back(std::move(element));
            skip_spaces();
            if (position_ < tokens_.size() && is(tokens_[position_].text, ',')) {
                ++position_;
                if (next_non_space_is_quote()) continue;
                warn(line, "a text list has no quoted text after a \",\"");
            } else if (position_ < tokens_.size() && is(tokens_[position_].text, ']')) {
                ++position_;
            } else {
                warn(line, "a text list is not closed by \"]\"");
            }
            return add_list_entries(elements, line);
        }
    }

    void skip_spaces() {
        while (position_ < tokens_.size() && is(tokens_[position_].text, ' '))
            ++position_;
    }

    void add_list_entries(const std::vector<std::string>& elements, int32_t line) {
        if (!field_accepts_value(line, "list ignored")) return;
        // One warning for the list, at its first element out of range.
        for (const std::string& element : elements) {
            if (field_->Kind() == FieldKind::Int && !text_int_in_range(element)) {
                warn_if_out_of_range(element, line);
                break;
            }
        }
        int32_t id = 0;
        for (const std::string& element : elements) {
            auto entry = new_record<TBifList>();
            entry->ID = ++id;
            entry->feld = field_;
            entry->wert = element;
            pending_.push_back(std::move(entry));
        }
    }

    // --- problems -----------------------------------------------------------------------------

    // Every data word in a message is cut by shown_text; a message is still kept to a readable
    // length as a whole.
    void warn(int32_t line, std::string message) {
        constexpr size_t kLongestMessage = 400;
        // A file of a million mistakes is told about its first ones and how many more it holds.
        if (++warnings_ > kMostWarningsPerFile) return;
        if (message.size() > kLongestMessage) message = message.substr(0, kLongestMessage) + "...";
        context_.problems.push_back({file_, line, std::move(message)});
    }

    void warn_at_end(std::string message) {
        warn(tokens_.empty() ? 1 : tokens_.back().line, std::move(message));
    }

    LoadContext& context_;
    std::string file_;
    int32_t warnings_ = 0;
    std::vector<char> text_of_tokens_;  // what the tokens view
    std::vector<Token> tokens_;
    std::vector<size_t> include_end_;
    size_t position_ = 0;

    std::string type_name_;  // the last type name outside a record; empty after a record
    const TTypeId* type_ = nullptr;
    RecordRef record_;
    bool in_record_ = false;
    int32_t record_line_ = 0;

    bool expecting_value_ = false;
    std::string key_;
    const TField* field_ = nullptr;
    bool negative_ = false;
    bool in_quote_ = false;
    int32_t quote_line_ = 0;
    bool quote_holds_brace_ = false;
    std::string text_;
    std::vector<std::shared_ptr<TBifList>> pending_;
};

}  // namespace

void load_tokens(LoadContext& context, const std::string& file, Tokens tokens) {
    DefinitionParser(context, file, std::move(tokens)).run();
}

}  // namespace grotmere
