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
// two to a word. Its texts and its object list live in its extras, made only for a tile that is
// given any (or read through a field that makes them): a tile whose extras hold nothing but what a
// new tile holds says so in one bit, as the dump shows both alike. Checked, every tile is read the
// plain way too.
class TileDigest {
public:
    TileDigest(LaneHash& hash, RecordHasher& hasher, PlanCheck check, const TKartenTile& first)
        : hash_(hash),
          hasher_(hasher),
          check_(check),
          plan_(RecordHasher::plan_of(TTypeId::Of<TKartenTile>(), first)) {
        for (const RecordHasher::Step& step : plan_.steps) {
            const bool number = step.field->Kind() == FieldKind::Int;
            if (number && step.place >= 0)
                places_.push_back(step.place);
            else
                others_.push_back(step.field);
            others_are_numbers_ = others_are_numbers_ || (number && step.place < 0);
        }
        in_a_row_ = places_.size() % 2 == 0 && std::endian::native == std::endian::little;
        for (size_t k = 1; k < places_.size(); ++k)
            in_a_row_ = in_a_row_ && places_[k] == places_[k - 1] + 4;
    }
    ~TileDigest() {
        words_[count_++] = extras_bits_;
        flush();
    }

    void add(const TKartenTile& tile) {
        if (check_ == PlanCheck::On) check(tile);
        if (count_ + places_.size() + 2 > std::size(words_)) flush();
        const char* bytes = reinterpret_cast<const char*>(&tile);
        if (in_a_row_) {
            // Numbers side by side in the order of the fields: two of them are one word as they
            // lie.
            std::memcpy(words_ + count_, bytes + places_.front(), 4 * places_.size());
            count_ += places_.size() / 2;
        } else {
            for (size_t k = 0; k < places_.size(); k += 2) {
                const uint64_t low = static_cast<uint32_t>(read_int(bytes, places_[k]));
                const uint64_t high = k + 1 < places_.size()
                                          ? static_cast<uint32_t>(read_int(bytes, places_[k + 1]))
                                          : 0;
                words_[count_++] = low | high << 32;
            }
        }
        const bool extras = tile.extras_if_any() != nullptr && extras_differ(tile);
        if (others_are_numbers_) read_other_numbers(tile);
        // Which tiles have extras, a bit each, sixty-four to a word.
        extras_bits_ |= uint64_t{extras} << (tiles_ & 63);
        if ((++tiles_ & 63) == 0) {
            words_[count_++] = extras_bits_;
            extras_bits_ = 0;
        }
    }

private:
    static constexpr uint64_t kExtras = 0x6578747261;

    void read_other_numbers(const TKartenTile& tile) {
        for (const TField* field : others_) {
            if (field->Kind() != FieldKind::Int) continue;
            flush();
            hasher_.field(tile, *field);
        }
    }

    // Extras that hold what a new tile holds (made by a reading, or emptied) are none: the dump
    // shows the same. Other extras go in as one word.
    bool extras_differ(const TKartenTile& tile) {
        LaneHash extras;
        RecordHasher reader(extras, check_);
        for (const TField* field : others_) {
            if (field->Kind() != FieldKind::Int) reader.field(tile, *field);
        }
        if (extras.value() == blank_extras()) return false;
        words_[count_++] = extras.value();
        return true;
    }
    uint64_t blank_extras() {
        if (!blank_extras_) {
            static const TKartenTile blank;
            LaneHash extras;
            RecordHasher reader(extras);
            for (const TField* field : others_) {
                if (field->Kind() != FieldKind::Int) reader.field(blank, *field);
            }
            blank_extras_ = extras.value();
        }
        return *blank_extras_;
    }
    static constexpr uint64_t kNoExtras = 0x6e6f2065787472;

    static int32_t read_int(const char* bytes, std::ptrdiff_t place) {
        int32_t value;
        std::memcpy(&value, bytes + place, sizeof value);
        return value;
    }
    void flush() {
        hash_.add_words(words_, count_);
        count_ = 0;
    }

    // The plan's numbers against the fields' own reading, and a tile without extras against a
    // new tile.
    void check(const TKartenTile& tile) {
        static const TKartenTile blank;
        for (const RecordHasher::Step& step : plan_.steps) {
            const bool unmade = !tile.extras_if_any() && step.field->Kind() != FieldKind::Int;
            if (step.place >= 0 && step.field->Kind() == FieldKind::Int &&
                read_int(reinterpret_cast<const char*>(&tile), step.place) !=
                    step.field->GetInt(tile))
                throw std::logic_error("the digest reads a tile's " + step.field->Name() +
                                       " at another place than its field does");
            if (!unmade) continue;
            LaneHash read, made;
            RecordHasher(read).field(tile, *step.field);
            RecordHasher(made).field(blank, *step.field);
            if (read.value() != made.value())
                throw std::logic_error("a tile without extras reads another " + step.field->Name() +
                                       " than a new tile");
        }
    }

    LaneHash& hash_;
    RecordHasher& hasher_;
    PlanCheck check_;
    const RecordHasher::Plan& plan_;
    std::vector<std::ptrdiff_t> places_;
    std::vector<const TField*> others_;
    bool others_are_numbers_ = false;  // a number read through its access, every tile
    bool in_a_row_ = false;            // the numbers lie side by side, in order
    std::optional<uint64_t> blank_extras_;
    uint64_t extras_bits_ = 0;
    uint64_t tiles_ = 0;
    uint64_t words_[256];
    size_t count_ = 0;
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
        for_each_map_tile([&](int32_t, int32_t, const TKartenTile& tile) {
            if (!tiles) tiles.emplace(hash_, hasher_, check_, tile);
            tiles->add(tile);
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
