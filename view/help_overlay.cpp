#include "view/help_overlay.hpp"

#include <algorithm>
#include <string>
#include <vector>

#include "actors/tastatur.hpp"
#include "platform/drawing.hpp"
#include "view/key_names.hpp"
#include "view/overlay_frame.hpp"

namespace grotmere {

namespace {

constexpr int32_t kKeyColumn = 248;
constexpr int32_t kLegendX = 480;
constexpr int32_t kLegendTextX = kLegendX + 24;

std::string slot_keys(int32_t slot_key, int32_t drop_key) {
    if (slot_key == 0) return "-";
    std::string keys = key_name(slot_key);
    if (drop_key != 0) keys += ", drop: " + key_name(drop_key) + "+" + key_name(slot_key);
    return keys;
}

std::vector<HelpLine> named_commands(const TTastatur* keys) {
    const TTastatur none;
    const TTastatur& k = keys ? *keys : none;
    // Dropping one gold piece is the drop key held with the pick-up key.
    const auto keys_of = [&k](const Binding& binding) {
        if (binding.key != &TTastatur::drop) return key_name(k.*binding.key);
        return k.drop != 0 && k.get != 0 ? key_name(k.drop) + "+" + key_name(k.get) : "-";
    };
    std::vector<HelpLine> list;
    for (int32_t place = 1;; ++place) {
        auto at = std::find_if(kBindings.begin(), kBindings.end(), [place](const Binding& binding) {
            return binding.help_place == place;
        });
        if (at == kBindings.end()) break;
        list.push_back({at->help, keys_of(*at)});
    }
    return list;
}

// The slots' keys, slot 1 first.
std::vector<int32_t> slot_codes(const TTastatur* keys) {
    std::vector<int32_t> codes(kInventorySlots, 0);
    if (!keys) return codes;
    for (const Binding& binding : kBindings) {
        if (binding.slot != 0) codes[binding.slot - 1] = keys->*binding.key;
    }
    return codes;
}

std::vector<HelpLine> slot_lines(const TTastatur* keys, SlotLines slots) {
    const std::vector<int32_t> codes = slot_codes(keys);
    const int32_t drop = keys ? keys->drop : 0;
    if (slots == SlotLines::Together) {
        std::string names;
        for (int32_t code : codes)
            names += (names.empty() ? "" : " ") + key_name(code);
        if (drop != 0) names += "; drop: " + key_name(drop) + "+slot";
        return {{"Use or drop slot 1 to " + std::to_string(codes.size()), names}};
    }
    std::vector<HelpLine> list;
    for (size_t slot = 1; slot <= codes.size(); ++slot)
        list.push_back(
            {"Use or drop slot " + std::to_string(slot), slot_keys(codes[slot - 1], drop)});
    return list;
}

}  // namespace

std::vector<HelpLine> binding_help(const TTastatur* keys, SlotLines slots) {
    std::vector<HelpLine> list = named_commands(keys);
    for (HelpLine& line : slot_lines(keys, slots))
        list.push_back(std::move(line));
    return list;
}

std::vector<HelpLine> window_help(const TTastatur* keys, WindowKeys window_keys) {
    std::vector<HelpLine> list = {{"This help", "F1"}};
    if (window_keys.history) list.push_back({"Message history", "F2"});
    if (window_keys.rest) list.push_back({"Rest until healed", "Z"});
    if (window_keys.explore) list.push_back({"Explore", "O"});
    if (window_keys.run) list.push_back({"Run", "Ctrl+direction"});
    if (window_keys.look) list.push_back({"Look; travel there", "X; T, Return"});
    if (window_keys.overview) list.push_back({"Map overview", "M"});
    list.push_back({"Travel", "click on the map"});
    if (window_keys.pick) list.push_back({"Pick up one stack", "P"});
    if (window_keys.drop_stack) list.push_back({"Drop a whole stack", "D, then the slot"});
    if (window_keys.fire) list.push_back({"Shoot at the nearest", "F; Tab: next"});
    if (window_keys.fullscreen) list.push_back({"Fullscreen", "F11, Alt+Return"});
    const bool escape_free = keys == nullptr || escape_taken(*keys).empty();
    const char* quit = window_keys.end_question ? "Escape, then Y" : "Escape";
    list.push_back({"Quit the game", escape_free ? quit : "close the window"});
    return list;
}

namespace {

void draw_commands(const std::vector<HelpLine>& list, int32_t& y) {
    for (const HelpLine& command : list) {
        set_color(200, 200, 200);
        draw_text(command.what, kOverlayMargin, y);
        set_color(255, 255, 255);
        draw_text(command.keys, kKeyColumn, y);
        y += kOverlayLineHeight;
    }
}

struct Swatch {
    char glyph;  // 0: a square of the map's cells
    int32_t r, g, b;
    const char* meaning;
};

// The map view's own colours: glyphs stand at the cell's corner, squares two pixels lower.
constexpr Swatch kLegend[] = {
    {'Q', 0, 255, 0, "You"},
    {'R', 155, 0, 0, "A monster, by its first letter,"},
    {'R', 255, 0, 0, "  brighter in more light"},
    {'T', 255, 255, 0, "A heap of treasure"},
    {'*', 0, 0, 255, "A missile in flight"},
    {0, 128, 64, 0, "A closed door"},
    {0, 50, 50, 120, "A teleport"},
    {0, 200, 190, 150, "Floor in sight, lit"},
    {0, 100, 100, 100, "Floor in sight, dark"},
    {0, 60, 60, 60, "Floor seen before"},
    {0, 50, 50, 50, "Wall, or never seen"},
};

void draw_legend(int32_t y) {
    set_color(255, 255, 160);
    draw_text("ON THE MAP", kLegendX, y);
    y += 2 * kOverlayLineHeight;
    for (const Swatch& swatch : kLegend) {
        set_color(30, 30, 30);
        draw_rect(kLegendX, y - 1, 12, 14);
        set_color(swatch.r, swatch.g, swatch.b);
        if (swatch.glyph != 0) {
            draw_text(std::string(1, swatch.glyph), kLegendX + 2, y);
        } else {
            draw_rect(kLegendX + 1, y + 2, 10, 10);
        }
        set_color(200, 200, 200);
        draw_text(swatch.meaning, kLegendTextX, y + 2);
        y += 16;
    }
    y += kOverlayLineHeight;
    set_color(170, 170, 170);
    draw_text("Lights colour the floor around them", kLegendX, y);
    draw_text("and burn down turn by turn.", kLegendX, y + kOverlayLineHeight);
}

}  // namespace

void draw_help_overlay(const TTastatur* keys, WindowKeys window_keys) {
    draw_overlay_frame("HELP: the keys of this game and what the map shows",
                       "F1 or Escape closes the help; the game waits until then.");
    int32_t y = kOverlayBodyTop;
    set_color(255, 255, 160);
    draw_text("COMMANDS", kOverlayMargin, y);
    y += 2 * kOverlayLineHeight;
    draw_commands(binding_help(keys, SlotLines::Each), y);
    y += kOverlayLineHeight;
    draw_commands(window_help(keys, window_keys), y);
    draw_legend(kOverlayBodyTop);
    set_color(255, 255, 255);
}

}  // namespace grotmere
