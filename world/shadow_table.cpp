#include "world/shadow_table.hpp"

#include <algorithm>
#include <array>

#include "world/light_distance.hpp"
#include "world/line_walk.hpp"
#include "world/world_state.hpp"

namespace grotmere {

const ShadowTable& ShadowTable::of_reach(int32_t reach) {
    // Made from the line walk alone and never changed, so shared by every world and test.
    static std::array<std::unique_ptr<ShadowTable>, kTabledReach + 1> tables;
    std::unique_ptr<ShadowTable>& table = tables.at(static_cast<size_t>(reach));
    if (!table) table.reset(new ShadowTable(reach));
    return *table;
}

ShadowTable::ShadowTable(int32_t reach)
    : reach_(reach),
      side_(2 * reach + 1),
      words_((static_cast<size_t>(side_) * side_ + 63) / 64),
      within_(words_),
      first_shadow_(static_cast<size_t>(side_) * side_ + 1),
      blocking_(words_ + 1),
      lit_(words_) {
    const auto cell_of = [this](int32_t di, int32_t dj) {
        return static_cast<size_t>(di + reach_) * side_ + static_cast<size_t>(dj + reach_);
    };
    const Distances& distance = Distances::table();
    // The cells each line visits, as (cell passed, cell of the line), the lines in cell order.
    std::vector<std::pair<uint32_t, uint32_t>> passes;
    for (int32_t di = -reach; di <= reach; ++di) {
        for (int32_t dj = -reach; dj <= reach; ++dj) {
            if (distance(di, dj) > static_cast<float>(reach)) continue;
            const size_t cell = cell_of(di, dj);
            within_[cell / 64] |= uint64_t{1} << (cell % 64);
            clear_line(di, dj, 0, 0, [&](int32_t i, int32_t j) {
                passes.emplace_back(static_cast<uint32_t>(cell_of(i, j)),
                                    static_cast<uint32_t>(cell));
                return false;
            });
        }
    }
    // Grouped by the cell passed, each group's lines still in cell order, then packed by word.
    std::stable_sort(passes.begin(), passes.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    size_t next = 0;
    for (size_t b = 0; b + 1 < first_shadow_.size(); ++b) {
        first_shadow_[b] = static_cast<uint32_t>(shadows_.size());
        for (; next < passes.size() && passes[next].first == b; ++next) {
            const uint32_t cell = passes[next].second;
            if (shadows_.size() == first_shadow_[b] || shadows_.back().word != cell / 64)
                shadows_.push_back({cell / 64, 0});
            shadows_.back().bits |= uint64_t{1} << (cell % 64);
        }
    }
    first_shadow_.back() = static_cast<uint32_t>(shadows_.size());
    shadows_.shrink_to_fit();
}

void ShadowTable::find_lit(int32_t x, int32_t y, int32_t first_i, int32_t last_i, int32_t first_j,
                           int32_t last_j) const {
    // Every cell blocks until the walls say it is open; cells beyond the map stay blocking,
    // which darkens only cells beyond the map.
    std::fill(blocking_.begin(), blocking_.end(), ~uint64_t{0});
    const SightWalls& walls = tile_tracking.sight_walls();
    for (int32_t i = first_i; i <= last_i; ++i) {
        size_t bit =
            static_cast<size_t>(i - x + reach_) * side_ + static_cast<size_t>(first_j - y + reach_);
        for (int32_t j = first_j; j <= last_j; j += 64, bit += 64) {
            const int32_t rows = std::min(64, last_j - j + 1);
            const uint64_t rows_read = rows == 64 ? ~uint64_t{0} : (uint64_t{1} << rows) - 1;
            const uint64_t open = ~walls.column_from(i, j) & rows_read;
            blocking_[bit / 64] &= ~(open << (bit % 64));
            if (bit % 64 != 0) blocking_[bit / 64 + 1] &= ~(open >> (64 - bit % 64));
        }
    }
    // A blocking cell outside the round darkens no cell of it: a line runs toward the light in
    // both axes, so every cell it passes lies at most as far from the light as its first.
    std::fill(lit_.begin(), lit_.end(), 0);
    for (size_t word = 0; word < words_; ++word) {
        for (uint64_t bits = blocking_[word] & within_[word]; bits != 0; bits &= bits - 1) {
            const size_t b = word * 64 + static_cast<size_t>(__builtin_ctzll(bits));
            for (uint32_t k = first_shadow_[b]; k < first_shadow_[b + 1]; ++k)
                lit_[shadows_[k].word] |= shadows_[k].bits;
        }
    }
    for (size_t word = 0; word < words_; ++word)
        lit_[word] = within_[word] & ~lit_[word];
}

}  // namespace grotmere
