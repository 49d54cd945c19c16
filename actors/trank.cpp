#include "actors/trank.hpp"

#include <string_view>

#include "actors/buff.hpp"
#include "actors/buff_arithmetic.hpp"
#include "base/text.hpp"
#include "records/field_registry.hpp"

namespace grotmere {

namespace {

// The operators in the order they are looked for (character codes 42 to 47). The first of them
// found anywhere in a piece wins, so in "hp+-3" the operator is "+" and the value -3, while in
// "hp-+3" it is "+" as well, leaving the field name "hp-", which names nothing.
constexpr std::string_view kOperators = "*+,-./";

// Cuts `rest` at the first `mark`, giving the number after it; none without the mark.
std::optional<int32_t> take_duration(std::string& rest, char mark) {
    size_t at = rest.find(mark);
    if (at == std::string::npos) return std::nullopt;
    int32_t turns = text_to_int(std::string_view(rest).substr(at + 1));
    rest.resize(at);
    return turns;
}

PotionPiece split_piece(const std::string& text) {
    PotionPiece piece;
    piece.text = text;
    std::string rest = text.empty() ? std::string() : text.substr(1);
    for (char op : kOperators) {
        size_t at = text.find(op);
        if (at == std::string::npos) continue;
        piece.field = text.substr(0, at);
        piece.operand = std::string(1, op);
        rest = text.substr(at + 1);
        break;
    }
    // "'" is taken first, so a "#" mark after it is lost with the cut; one before it wins.
    if (std::optional<int32_t> turns = take_duration(rest, '\'')) piece.duration = *turns;
    if (std::optional<int32_t> turns = take_duration(rest, '#')) {
        piece.duration = *turns;
        piece.per_turn = true;
    }
    piece.value = text_to_int(rest);
    return piece;
}

// A buff whose "/" could never be carried out is refused when it is made: a lasting one divides
// its startwert, a per-turn one at least never divides by 0.
bool buff_can_act(const PotionPiece& piece, int32_t startwert) {
    if (piece.operand != "/") return true;
    return piece.per_turn ? piece.value != 0 : can_divide(startwert, piece.value);
}

void make_buff(const PotionPiece& piece, const TField& field, const RecordRef& target,
               const std::string& potion) {
    if (!buff_can_act(piece, field.GetInt(*target))) return;
    attach_buff(target, field,
                BuffTerms{.operand = piece.operand,
                          .wert = piece.value,
                          .wirkzeit = piece.duration,
                          .multi = piece.per_turn ? 1 : 0,
                          .source = potion});
}

}  // namespace

std::vector<PotionPiece> read_potion_text(const std::string& text) {
    // The pieces are cut by position, so a text of many pieces costs its length once.
    std::vector<PotionPiece> pieces;
    size_t start = 0;
    do {
        size_t bar = text.find('|', start);
        pieces.push_back(split_piece(
            text.substr(start, bar == std::string::npos ? std::string::npos : bar - start)));
        start = bar == std::string::npos ? text.size() : bar + 1;
    } while (start < text.size());
    return pieces;
}

int32_t TTrank::parse_wirkung(const RecordRef& target) const {
    for (const PotionPiece& piece : read_potion_text(wirkung))
        apply_piece(piece, target, name);
    return 0;
}

void TTrank::apply_piece(const PotionPiece& piece, const RecordRef& target,
                         const std::string& potion) {
    if (!target) return;
    const TTypeId* type = TTypeId::ForObject(*target);
    const TField* field = type ? type->FindField(piece.field) : nullptr;
    // A piece naming no integer field of the drinker does nothing, with a duration or without: a
    // modifier names one integer field.
    if (field == nullptr || field->Kind() != FieldKind::Int) return;
    if (piece.duration != 0)
        make_buff(piece, *field, target, potion);
    else
        change_field(*target, *field, piece.operand, piece.value);
}

}  // namespace grotmere
