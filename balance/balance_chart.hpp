// grotmere-balance --chart: the figures of a run over generated dungeons as one SVG picture that
// reads without the table. Left, for each band of fights, how the dungeons spread over the deaths
// per 100 of their worst fight, with the band's target; right, how far the route player got: of
// the games in dungeons that have a depth, the share that reached it and the share that ended on
// it, and of all games the escapes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace grotmere {

struct ChartBand {
    std::string name;
    std::vector<double> deaths;  // per dungeon, its worst fight's deaths per 100
    double target = -1;          // at most this; -1 for none
};

struct BalanceChart {
    std::vector<ChartBand> bands;
    std::vector<int32_t> offered;  // games in dungeons with a depth k + 1
    std::vector<int32_t> reached;  // games that reached depth k + 1
    std::vector<int32_t> ended;    // games that ended on depth k + 1 without escaping
    int32_t escaped = 0;
    int32_t games = 0;
};

std::string balance_chart_svg(const BalanceChart& chart);

}  // namespace grotmere
