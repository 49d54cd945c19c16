// The replay's shelf of snapshots gives back, for any pass, the bytes of the last snapshot kept at
// or before it, whole, however its pieces are shared with the snapshot before and however often it
// was thinned out; it stays within its bound and its snapshots no further apart than its spacing.
#include "replay/snapshot_shelf.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>

namespace grotmere::testing {
namespace {

// A game's bytes changing a little from snapshot to snapshot: a few bytes changed, inserted or
// taken out here and there, the rest as before.
class ChangingBytes {
public:
    explicit ChangingBytes(size_t size) {
        for (size_t k = 0; k < size; ++k)
            bytes_.push_back(static_cast<char>(next() >> 24));
    }
    const std::string& step() {
        for (int32_t change = 0; change < 6; ++change) {
            const size_t at = next() % bytes_.size();
            switch (next() % 3) {
                case 0:
                    bytes_[at] = static_cast<char>(next());
                    break;
                case 1:
                    bytes_.insert(at, next() % 40 + 1, static_cast<char>(next()));
                    break;
                default:
                    bytes_.erase(at, next() % 40 + 1);
            }
        }
        return bytes_;
    }

private:
    uint32_t next() { return scramble_ = scramble_ * 1103515245u + 12345u; }
    uint32_t scramble_ = 41;
    std::string bytes_;
};

TEST(SnapshotShelf, EveryPassFindsTheLastSnapshotBeforeItWholeAfterThinningOut) {
    constexpr size_t kBound = size_t{2} << 20;
    SnapshotShelf shelf(kBound, 10);
    ChangingBytes game(60000);
    std::map<int64_t, std::string> kept;
    for (int64_t pass = 1; pass <= 4000; ++pass) {
        const std::string& bytes = game.step();
        if (!shelf.due(pass)) continue;
        kept[pass] = bytes;
        shelf.keep(pass, bytes, RunningParts{}, Playback::Place{});
        ASSERT_LE(shelf.memory(), kBound) << "pass " << pass;
    }
    // Sixty thousand bytes every ten passes would be 24 MB: the pieces held once, and thinned.
    EXPECT_GT(shelf.spacing(), 10);
    EXPECT_GT(shelf.count(), 20U);
    EXPECT_EQ(shelf.at_or_before(9), nullptr);
    int64_t last_pass = 0;
    for (int64_t pass = 10; pass <= 4000; pass += 7) {
        const SnapshotShelf::Kept* found = shelf.at_or_before(pass);
        ASSERT_NE(found, nullptr);
        ASSERT_LE(found->pass, pass);
        EXPECT_LT(pass - found->pass, shelf.spacing()) << "pass " << pass;
        if (found->pass == last_pass) continue;
        last_pass = found->pass;
        EXPECT_TRUE(SnapshotShelf::bytes_of(*found) == kept.at(found->pass)) << found->pass;
    }
    shelf.clear();
    EXPECT_EQ(shelf.count(), 0U);
    EXPECT_EQ(shelf.spacing(), 10);
    EXPECT_TRUE(shelf.due(10) && !shelf.due(9));
}

TEST(SnapshotShelf, APieceHeldByManySnapshotsIsCountedOnce) {
    ChangingBytes game(200000);
    const std::string still = game.step();
    SnapshotShelf one;
    one.keep(500, still, RunningParts{}, Playback::Place{});
    SnapshotShelf ten;
    for (int64_t pass = 500; pass <= 5000; pass += 500)
        ten.keep(pass, still, RunningParts{}, Playback::Place{});
    EXPECT_GE(one.memory(), still.size());
    // Nine more snapshots add only their bookkeeping, less than one copy of the bytes.
    EXPECT_LT(ten.memory() - one.memory(), still.size());
    EXPECT_TRUE(SnapshotShelf::bytes_of(*ten.at_or_before(5000)) == still);
}

}  // namespace
}  // namespace grotmere::testing
