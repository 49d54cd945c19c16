// The snapshots a replay keeps of its game as it first plays through, to go back to any pass
// without playing from the start: one every `spacing` passes, within a bound of memory. When the
// bound is reached every other snapshot goes and the spacing doubles, so a recording of any length
// keeps between half the bound and the bound, evenly spread.
//
// A snapshot's bytes (replay/game_snapshot.hpp) mostly repeat the one before: the prototypes, the
// map's far rooms, the older history. So the bytes are cut where their content says (a cut falls
// where a rolling hash of the last bytes has its low bits clear, and so falls at the same content
// whatever came before it), and a piece equal to one of the snapshot before is that piece, held
// once. The memory counted is that of the pieces held, and of the copies of the keyboard and the
// aids beside them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "replay/game_snapshot.hpp"
#include "replay/playback.hpp"

namespace grotmere {

class SnapshotShelf {
public:
    static constexpr size_t kMemoryBound = size_t{64} << 20;
    static constexpr int64_t kFirstSpacing = 500;

    struct Kept {
        int64_t pass = 0;
        std::vector<std::shared_ptr<const std::string>> pieces;
        RunningParts running;
        Playback::Place place;
    };

    explicit SnapshotShelf(size_t bound = kMemoryBound, int64_t spacing = kFirstSpacing)
        : bound_(bound), first_spacing_(spacing), spacing_(spacing), next_due_(spacing) {}

    // Whether the game after pass `pass` is due to be kept: the spacing's next multiple is reached.
    bool due(int64_t pass) const { return pass >= next_due_; }
    void keep(int64_t pass, std::string_view bytes, RunningParts running, Playback::Place place);
    // The last snapshot at or before `pass`, or null.
    const Kept* at_or_before(int64_t pass) const;
    static std::string bytes_of(const Kept& kept);
    void clear();

    size_t memory() const { return memory_; }
    size_t count() const { return kept_.size(); }
    int64_t spacing() const { return spacing_; }

private:
    // The bytes in pieces, those of the snapshot before where they are the same; `made` grows by
    // the memory of the pieces made new.
    std::vector<std::shared_ptr<const std::string>> cut(std::string_view bytes, size_t& made) const;
    void thin_out();
    void count_memory();

    size_t bound_;
    int64_t first_spacing_;
    int64_t spacing_;
    int64_t next_due_;
    size_t memory_ = 0;
    std::vector<Kept> kept_;
};

}  // namespace grotmere
