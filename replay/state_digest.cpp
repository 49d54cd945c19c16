#include "replay/state_digest.hpp"

#include <bit>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <vector>

#include "base/lane_hash.hpp"
#include "platform/platform.hpp"
#include "records/field_registry.hpp"
#include "records/record_hash.hpp"
#include "replay/state_roots.hpp"
#include "world/karten_tile.hpp"

namespace grotmere {

namespace {

// The tiles are most of the state. Each is read by its type's plan, its numbers at their places,
// two to a word; a column's tiles lie side by side, so a column's numbers are read in one sweep.
// A tile's texts and object list live in its extras, made only for a tile that is given any (or
// read through a field that makes them): a tile whose extras hold nothing but what a new tile
// holds says so in one bit, as the dump shows both alike; other extras follow their column as one
// word each. Checked, every tile is read the plain way too.
class TileDigest {
public:
    TileDigest(LaneHash& hash, PlanCheck check, const TKartenTile& first)
        : hash_(hash),
          check_(check),
          plan_(RecordHasher::plan_of(TTypeId::Of<TKartenTile>(), first)) {
        for (const RecordHasher::Step& step : plan_.steps) {
            const bool number = step.field->Kind() == FieldKind::Int;
            if (number && step.place >= 0)
                places_.push_back(step.place);
            else
                (number ? other_numbers_ : extras_fields_).push_back(step.field);
        }
        in_a_row_ = places_.size() % 2 == 0 && std::endian::native == std::endian::little;
        for (size_t k = 1; k < places_.size(); ++k)
            in_a_row_ = in_a_row_ && places_[k] == places_[k - 1] + 4;
        blank_extras_ = extras_hash(blank_tile());
    }

    void add_column(const TKartenTile* column, int32_t rows) {
        if (check_ == PlanCheck::On) {
            for (int32_t y = 0; y < rows; ++y)
                check(column[y]);
        }
        add_numbers(column, rows);
        // Which tiles have extras, a bit each, sixty-four to a word, then those extras.
        std::vector<uint64_t>& extras = column_extras_;
        extras.clear();
        for (int32_t first = 0; first < rows; first += 64) {
            uint64_t bits = 0;
            for (int32_t y = first; y < std::min(rows, first + 64); ++y) {
                if (!column[y].extras_if_any()) continue;
                const uint64_t made = extras_hash(column[y]);
                if (made == blank_extras_) continue;
                bits |= uint64_t{1} << (y - first);
                extras.push_back(made);
            }
            hash_.add(bits);
        }
        hash_.add_words(extras.data(), extras.size());
    }

private:
    static const TKartenTile& blank_tile() {
        static const TKartenTile blank;
        return blank;
    }

    void add_numbers(const TKartenTile* column, int32_t rows) {
        const char* first = reinterpret_cast<const char*>(column);
        if (in_a_row_) {
            hash_.add_strided_words(first + places_.front(), sizeof(TKartenTile),
                                    static_cast<size_t>(rows), places_.size() / 2);
        } else {
            for (int32_t y = 0; y < rows; ++y) {
                const char* bytes = first + sizeof(TKartenTile) * static_cast<size_t>(y);
                for (std::ptrdiff_t place : places_)
                    hash_.add_int(read_int(bytes, place));
            }
        }
        if (other_numbers_.empty()) return;
        RecordHasher reader(hash_, check_);
        for (int32_t y = 0; y < rows; ++y) {
            for (const TField* field : other_numbers_)
                reader.field(column[y], *field);
        }
    }

    uint64_t extras_hash(const TKartenTile& tile) const {
        LaneHash extras;
        RecordHasher reader(extras, check_);
        for (const TField* field : extras_fields_)
            reader.field(tile, *field);
        return extras.value();
    }

    static int32_t read_int(const char* bytes, std::ptrdiff_t place) {
        int32_t value;
        std::memcpy(&value, bytes + place, sizeof value);
        return value;
    }

    // The plan's numbers against the fields' own reading, and a tile without extras against a
    // new tile.
    void check(const TKartenTile& tile) const {
        for (const RecordHasher::Step& step : plan_.steps) {
            const bool number = step.field->Kind() == FieldKind::Int;
            if (number && step.place >= 0 &&
                read_int(reinterpret_cast<const char*>(&tile), step.place) !=
                    step.field->GetInt(tile))
                throw std::logic_error("the digest reads a tile's " + step.field->Name() +
                                       " at another place than its field does");
            if (number || tile.extras_if_any()) continue;
            LaneHash read, made;
            RecordHasher(read).field(tile, *step.field);
            RecordHasher(made).field(blank_tile(), *step.field);
            if (read.value() != made.value())
                throw std::logic_error("a tile without extras reads another " + step.field->Name() +
                                       " than a new tile");
        }
    }

    LaneHash& hash_;
    PlanCheck check_;
    const RecordHasher::Plan& plan_;
    std::vector<std::ptrdiff_t> places_;
    std::vector<const TField*> other_numbers_;  // read through their access, every tile
    std::vector<const TField*> extras_fields_;
    bool in_a_row_ = false;  // the numbers lie side by side, in order
    uint64_t blank_extras_ = 0;
    std::vector<uint64_t> column_extras_;
};

// Each root goes in whole; the roots' order is fixed, so their names need not.
class DigestReader : public StateReader {
public:
    explicit DigestReader(PlanCheck check) : check_(check), hasher_(hash_, check) {}
    void number(const char*, int64_t value) override { hash_.add_signed(value); }
    void text(const char*, const std::string& text) override { hash_.add_text(text); }
    void texts(const char*, const std::string* first, size_t count) override {
        hash_.add(count);
        for (size_t k = 0; k < count; ++k)
            hash_.add_text(first[k]);
    }
    void record(const char*, const Record* record) override { hasher_.record(record); }
    void list(const char*, const RecordList& list) override { hasher_.list(&list); }
    void tiles(const char*) override {
        std::optional<TileDigest> tiles;
        for_each_map_column([&](const TKartenTile* column, int32_t rows) {
            if (!tiles) tiles.emplace(hash_, check_, column[0]);
            tiles->add_column(column, rows);
        });
    }
    void random_state(int32_t state) override { hash_.add_signed(state); }
    uint64_t value() const { return hash_.value(); }

private:
    PlanCheck check_;
    LaneHash hash_;
    RecordHasher hasher_;
};

}  // namespace

uint64_t state_digest() {
    DigestReader reader(contracts_checked() ? PlanCheck::On : PlanCheck::Off);
    read_state_roots(reader);
    return reader.value();
}

bool knows_digest(int32_t version) {
    return version == 1 || version == kDigestVersion;
}

std::optional<uint64_t> state_digest_of_version(int32_t version) {
    if (!knows_digest(version)) return std::nullopt;
    return version == 1 ? first_state_digest() : state_digest();
}

std::string digest_version_line() {
    return "# checkpoints: digest " + std::to_string(kDigestVersion);
}

std::string digest_text(uint64_t digest) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(digest));
    return text;
}

}  // namespace grotmere
