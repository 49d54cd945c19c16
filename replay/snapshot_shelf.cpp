#include "replay/snapshot_shelf.hpp"

#include <algorithm>
#include <array>
#include <functional>
#include <unordered_map>
#include <unordered_set>

namespace grotmere {

namespace {

// Pieces of about 600 bytes: small enough that a change costs little, large enough that their
// bookkeeping does not. The cut tests the rolling hash's top bits, which the last 64 bytes make.
constexpr size_t kShortestPiece = 128;
constexpr size_t kLongestPiece = size_t{4} << 10;
constexpr int kCutBits = 9;
// What a copy of the keyboard and the aids' state takes beside its own size, at most: the waiting
// presses, the cells an exploration stood on, the monsters last seen.
constexpr size_t kRunningPartsHeap = size_t{4} << 10;

// A fixed random word for each byte value, from a fixed seed: the same cuts in every run.
const std::array<uint64_t, 256>& gear() {
    static const std::array<uint64_t, 256> table = [] {
        std::array<uint64_t, 256> words{};
        uint64_t state = 0x9e3779b97f4a7c15ULL;
        for (uint64_t& word : words) {
            state += 0x9e3779b97f4a7c15ULL;
            uint64_t z = state;
            z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
            z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
            word = z ^ (z >> 31);
        }
        return words;
    }();
    return table;
}

// A piece with its string and the count of its holders.
size_t piece_memory(const std::string& piece) {
    return piece.capacity() + 64;
}

size_t kept_memory(const SnapshotShelf::Kept& kept) {
    return sizeof(kept) + kRunningPartsHeap + kept.pieces.capacity() * sizeof(kept.pieces[0]);
}

size_t next_cut(std::string_view bytes) {
    if (bytes.size() <= kShortestPiece) return bytes.size();
    const std::array<uint64_t, 256>& words = gear();
    const size_t end = std::min(bytes.size(), kLongestPiece);
    uint64_t rolling = 0;
    for (size_t k = 0; k < end; ++k) {
        rolling = (rolling << 1) + words[static_cast<uint8_t>(bytes[k])];
        if (k + 1 >= kShortestPiece && rolling >> (64 - kCutBits) == 0) return k + 1;
    }
    return end;
}

}  // namespace

std::vector<std::shared_ptr<const std::string>> SnapshotShelf::cut(std::string_view bytes,
                                                                   size_t& made) const {
    std::unordered_multimap<size_t, const std::shared_ptr<const std::string>*> before;
    if (!kept_.empty()) {
        for (const auto& piece : kept_.back().pieces)
            before.emplace(std::hash<std::string_view>()(*piece), &piece);
    }
    std::vector<std::shared_ptr<const std::string>> pieces;
    while (!bytes.empty()) {
        const std::string_view piece = bytes.substr(0, next_cut(bytes));
        bytes.remove_prefix(piece.size());
        const auto [first, last] = before.equal_range(std::hash<std::string_view>()(piece));
        const auto same = std::find_if(first, last, [&](const auto& entry) {
            return std::string_view(**entry.second) == piece;
        });
        if (same != last) {
            pieces.push_back(*same->second);
        } else {
            pieces.push_back(std::make_shared<const std::string>(piece));
            made += piece_memory(*pieces.back());
        }
    }
    return pieces;
}

void SnapshotShelf::keep(int64_t pass, std::string_view bytes, RunningParts running,
                         Playback::Place place) {
    size_t made = 0;
    kept_.push_back(Kept{pass, cut(bytes, made), std::move(running), place});
    next_due_ = (pass / spacing_ + 1) * spacing_;
    // The pieces not held before are new; the rest were counted with the snapshot before.
    memory_ += made + kept_memory(kept_.back());
    while (memory_ > bound_ && kept_.size() > 1)
        thin_out();
}

// Every other snapshot goes, the first stays; the spacing doubles.
void SnapshotShelf::thin_out() {
    std::vector<Kept> fewer;
    for (size_t k = 0; k < kept_.size(); k += 2)
        fewer.push_back(std::move(kept_[k]));
    kept_ = std::move(fewer);
    spacing_ *= 2;
    next_due_ = (kept_.back().pass / spacing_ + 1) * spacing_;
    count_memory();
}

void SnapshotShelf::count_memory() {
    std::unordered_set<const std::string*> counted;
    memory_ = 0;
    for (const Kept& kept : kept_) {
        memory_ += kept_memory(kept);
        for (const auto& piece : kept.pieces) {
            if (counted.insert(piece.get()).second) memory_ += piece_memory(*piece);
        }
    }
}

const SnapshotShelf::Kept* SnapshotShelf::at_or_before(int64_t pass) const {
    auto after = std::upper_bound(kept_.begin(), kept_.end(), pass,
                                  [](int64_t at, const Kept& kept) { return at < kept.pass; });
    return after == kept_.begin() ? nullptr : &*(after - 1);
}

std::string SnapshotShelf::bytes_of(const Kept& kept) {
    std::string bytes;
    size_t size = 0;
    for (const auto& piece : kept.pieces)
        size += piece->size();
    bytes.reserve(size);
    for (const auto& piece : kept.pieces)
        bytes += *piece;
    return bytes;
}

void SnapshotShelf::clear() {
    kept_.clear();
    spacing_ = first_spacing_;
    next_due_ = spacing_;
    memory_ = 0;
}

}  // namespace grotmere
