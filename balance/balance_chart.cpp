#include "balance/balance_chart.hpp"

#include <algorithm>
#include <cstdio>

namespace grotmere {

namespace {

constexpr int32_t kWidth = 940, kHeight = 560;
constexpr int32_t kBins = 21;       // deaths per 100 in steps of 5: 0, 5, ..., 100
constexpr double kHeadroom = 0.85;  // the tallest bar leaves room for its label below the title

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string text(int32_t x, int32_t y, const std::string& words, const char* anchor = "start",
                 int32_t size = 12) {
    return "<text x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\" font-size=\"" +
           std::to_string(size) + "\" text-anchor=\"" + anchor + "\">" + words + "</text>\n";
}

std::string rect(double x, double y, double w, double h, const char* fill) {
    return "<rect x=\"" + number(x) + "\" y=\"" + number(y) + "\" width=\"" + number(w) +
           "\" height=\"" + number(h) + "\" fill=\"" + fill + "\"/>\n";
}

// One band: a bar for every five deaths per 100, as tall as the share of dungeons there.
std::string band_panel(const ChartBand& band, int32_t x, int32_t y, int32_t w, int32_t h) {
    std::vector<int32_t> bins(kBins, 0);
    for (double deaths : band.deaths)
        ++bins[size_t(std::clamp(int32_t(deaths / 5 + 0.5), 0, kBins - 1))];
    const double total = std::max<size_t>(1, band.deaths.size());
    std::string out = text(x, y - 6, band.name, "start", 13);
    out += "<line x1=\"" + std::to_string(x) + "\" y1=\"" + std::to_string(y + h) + "\" x2=\"" +
           std::to_string(x + w) + "\" y2=\"" + std::to_string(y + h) + "\" stroke=\"#444\"/>\n";
    const double bin_w = double(w) / kBins;
    for (int32_t k = 0; k < kBins; ++k) {
        const double share = bins[size_t(k)] / total * kHeadroom;
        const bool over = band.target >= 0 && k * 5 > band.target;
        out += rect(x + k * bin_w + 1, y + h - share * h, bin_w - 2, share * h,
                    over ? "#c0392b" : "#2e86c1");
        if (bins[size_t(k)] > 0)
            out += text(int32_t(x + k * bin_w + bin_w / 2), int32_t(y + h - share * h) - 2,
                        number(100 * bins[size_t(k)] / total) + "%", "middle", 9);
        if (k % 4 == 0)
            out += text(int32_t(x + k * bin_w + bin_w / 2), y + h + 12, std::to_string(k * 5),
                        "middle", 10);
    }
    if (band.target >= 0) {
        const double at = x + (band.target / 5 + 1) * bin_w;
        out += "<line x1=\"" + number(at) + "\" y1=\"" + std::to_string(y) + "\" x2=\"" +
               number(at) + "\" y2=\"" + std::to_string(y + h) +
               "\" stroke=\"#c0392b\" stroke-dasharray=\"4 3\"/>\n";
        out += text(int32_t(at) + 4, y + 10, "target: at most " + number(band.target), "start", 10);
    }
    return out;
}

// How far the games got: for each depth the share that reached it (light) and that ended there
// (dark); then the escapes.
std::string depth_panel(const BalanceChart& chart, int32_t x, int32_t y, int32_t w, int32_t h) {
    std::string out = text(x, y - 6, "How far the route player got", "start", 13);
    out += text(x, y + 10, "share of the games in dungeons with that depth", "start", 10);
    const size_t bars = chart.reached.size() + 1;
    const double bar_w = double(w) / double(bars);
    const double games = std::max(1, chart.games);
    for (size_t k = 0; k <= chart.reached.size(); ++k) {
        const bool escapes = k == chart.reached.size();
        const double of = escapes ? games : std::max(1, chart.offered[k]);
        const double reached = (escapes ? chart.escaped : chart.reached[k]) / of * kHeadroom;
        const double ended = (escapes ? 0 : chart.ended[k]) / of * kHeadroom;
        const double left = x + double(k) * bar_w + 4;
        out += rect(left, y + h - reached * h, bar_w - 8, reached * h,
                    escapes ? "#27ae60" : "#aed6f1");
        out += rect(left, y + h - ended * h, bar_w - 8, ended * h, "#c0392b");
        out += text(int32_t(left + bar_w / 2 - 4), int32_t(y + h - reached * h) - 4,
                    number(100 * reached / kHeadroom) + "%", "middle", 10);
        out += text(int32_t(left + bar_w / 2 - 4), y + h + 14,
                    escapes ? "escaped" : "depth " + std::to_string(k + 1), "middle", 11);
        if (ended > 0)
            out += text(int32_t(left + bar_w / 2 - 4), y + h - 4,
                        number(100 * ended / kHeadroom) + "% end", "middle", 9);
    }
    out += rect(x, y + h + 24, 12, 10, "#aed6f1") + text(x + 16, y + h + 33, "reached it");
    out += rect(x + 100, y + h + 24, 12, 10, "#c0392b") +
           text(x + 116, y + h + 33, "died or stuck there");
    out += rect(x + 260, y + h + 24, 12, 10, "#27ae60") + text(x + 276, y + h + 33, "escaped");
    return out;
}

}  // namespace

std::string balance_chart_svg(const BalanceChart& chart) {
    std::string out = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      std::to_string(kWidth) + "\" height=\"" + std::to_string(kHeight) +
                      "\" font-family=\"sans-serif\">\n";
    out += rect(0, 0, kWidth, kHeight, "white");
    out += text(20, 24,
                "Generated dungeons: " + std::to_string(chart.games) +
                    ". Left: dungeons by the deaths per 100 of their worst fight in each band.",
                "start", 14);
    const int32_t panel_h = (kHeight - 90) / std::max<int32_t>(1, int32_t(chart.bands.size()));
    for (size_t k = 0; k < chart.bands.size(); ++k)
        out += band_panel(chart.bands[k], 20, 60 + int32_t(k) * panel_h, 420, panel_h - 36);
    out += depth_panel(chart, 490, 60, 430, kHeight - 130);
    out += text(20, kHeight - 10, "deaths per 100 of the worst fight", "start", 10);
    return out + "</svg>\n";
}

}  // namespace grotmere
