#include "aids/window_aids.hpp"

#include <algorithm>
#include <cstdint>
#include <string>

#include "actors/player.hpp"
#include "actors/tastatur.hpp"
#include "aids/aid_keys.hpp"
#include "aids/aid_prompts.hpp"
#include "aids/aid_walk.hpp"
#include "base/safe_file.hpp"
#include "gen/depth_plan.hpp"
#include "platform/drawing.hpp"
#include "platform/key_codes.hpp"
#include "platform/keyboard.hpp"
#include "view/help_overlay.hpp"
#include "view/history_overlay.hpp"
#include "view/key_names.hpp"
#include "view/look_panel.hpp"
#include "view/map_overview.hpp"
#include "view/overlay_frame.hpp"
#include "view/screen.hpp"
#include "view/side_panel.hpp"
#include "world/kamera.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

// The window's own keys.
constexpr int32_t kEscapeKey = key::kEscape;
constexpr int32_t kHistoryKey = key::function_key(2);
constexpr int32_t kFullscreenKey = key::function_key(11);
constexpr int32_t kReturnKey = key::kReturn;
constexpr int32_t kLeftAlt = key::kLeftAlt;
constexpr int32_t kRightAlt = key::kRightAlt;
constexpr int32_t kPageUp = key::kPageUp;
constexpr int32_t kPageDown = key::kPageDown;
constexpr int32_t kEnd = key::kEnd;
constexpr int32_t kHome = key::kHome;
constexpr int32_t kUp = key::kUp;
constexpr int32_t kDown = key::kDown;

struct AidsState {
    WindowAids aids;
    Overlay open = Overlay::None;
    int32_t history_scroll = 0;  // lines back from the newest
    bool first_screen = true;    // no turn taken yet
    gen::DepthPlan depths;
    std::string depths_of_map;  // the map file the depths were read from
    int32_t deepest = 0;
};

AidsState& aids_state() {
    static AidsState state;
    return state;
}

bool bound(int32_t code) {
    if (!bindings) return false;
    return binding_of(*bindings, code) != nullptr;
}

// A hit of a window key the binding file leaves free. A free key is read by nothing else, so
// taking its hits changes nothing for the rules.
bool free_key_hit(int32_t code) {
    return !bound(code) && key_hit(code) != 0;
}

std::string first_start_hint() {
    const AidsState& state = aids_state();
    return state.aids.first_start_hint && !bound(kHelpKey) ? "F1: help" : "";
}

// The panel's last line: the first screen's notice, the hint until the help is found, then what
// the walking aids said.
std::string panel_footer() {
    const std::string& notice = aids_state().aids.first_screen_notice;
    if (!notice.empty()) return notice;
    const std::string hint = first_start_hint();
    return hint.empty() ? walk_said() : hint;
}

// "Left Up Right Down", the walking keys the binding file gives.
std::string walking_keys() {
    std::string names;
    for (int32_t code : {bindings->go_left, bindings->go_up, bindings->go_right, bindings->go_down})
        if (code != 0) names += (names.empty() ? "" : " ") + key_name(code);
    return names;
}

std::string slot_keys_first_to_last() {
    const int32_t first = bindings->inv_1, last = bindings->inv_10;
    if (first == 0 || last == 0) return key_name(first != 0 ? first : last);
    return key_name(first) + " to " + key_name(last);
}

// Until the first turn: what the game is about, and the three keys to begin with.
std::vector<PanelNote> first_screen_notes() {
    if (!aids_state().first_screen || !bindings) return {};
    std::vector<PanelNote> notes = {
        {"YOUR GOAL", true}, {"Find the way out of the dungeon."}, {"FIRST KEYS", true}};
    if (const std::string walk = walking_keys(); !walk.empty()) notes.push_back({walk + ": walk"});
    if (bindings->inv_1 != 0 || bindings->inv_10 != 0)
        notes.push_back({slot_keys_first_to_last() + ": use what you carry"});
    if (!bound(kHelpKey)) {
        notes.push_back({"F1: help, every key"});
    } else if (bindings->get != 0) {
        notes.push_back({key_name(bindings->get) + ": pick up"});
    }
    return notes;
}

// "Depth 3 of 5" in a generated dungeon, else "".
std::string depth_line() {
    const DepthReached depth = depth_reached();
    if (depth.of == 0) return "";
    return "Depth " + std::to_string(depth.now) + " of " + std::to_string(depth.of);
}

void note_depth() {
    AidsState& state = aids_state();
    state.deepest = std::max(state.deepest, depth_reached().now);
}

void draw_aids_around_the_map() {
    if (aid_view() == AidView::Overview) return draw_map_overview();
    if (open_prompt() == Prompt::Target) return draw_prompt();
    if (const std::optional<MapCell> cell = pointed_cell()) {
        draw_look_panel(cell->x, cell->y, panel_footer());
    } else {
        draw_side_panel(panel_footer(), depth_line(), first_screen_notes());
    }
    draw_prompt();
}

// The overlay a window key asks for, or None.
Overlay requested_overlay() {
    if (free_key_hit(kHelpKey)) return Overlay::Help;
    if (free_key_hit(kHistoryKey)) return Overlay::History;
    return Overlay::None;
}

void open(Overlay overlay) {
    AidsState& state = aids_state();
    state.open = overlay;
    state.history_scroll = 0;
    // The help has been found: the hint has done its work.
    if (overlay == Overlay::Help) state.aids.first_start_hint = false;
}

void scroll_history() {
    AidsState& state = aids_state();
    const int32_t page = overlay_body_lines() - 1;
    state.history_scroll +=
        key_hit(kUp) - key_hit(kDown) + page * (key_hit(kPageUp) - key_hit(kPageDown));
    if (key_hit(kHome) != 0) state.history_scroll = history_max_scroll(message_history);
    if (key_hit(kEnd) != 0) state.history_scroll = 0;
    state.history_scroll = std::clamp(state.history_scroll, 0, history_max_scroll(message_history));
}

// The overlay's own keys; Escape or the overlay's key closes it, the other overlay's key switches.
void overlay_keys() {
    AidsState& state = aids_state();
    const bool escape = key_hit(kEscapeKey) != 0;
    const Overlay asked = requested_overlay();
    if (escape || asked == state.open) {
        state.open = Overlay::None;
    } else if (asked != Overlay::None) {
        open(asked);
    } else if (state.open == Overlay::History) {
        scroll_history();
    }
    // Nothing typed while an overlay is open is left over for the game.
    keyboard().drop_hits();
}

void draw_overlay() {
    switch (aids_state().open) {
        case Overlay::Help:
            draw_help_overlay(bindings.get(), free_window_keys());
            break;
        case Overlay::History:
            draw_history_overlay(message_history, aids_state().history_scroll);
            break;
        case Overlay::None:
            break;
    }
}

}  // namespace

void set_window_aids(const WindowAids& aids) {
    aids_state() = AidsState{aids};
    set_aid_keys(aids.on);
}

DepthReached depth_reached() {
    AidsState& state = aids_state();
    // Read once for each map the game plays on, the first time they are asked for.
    if (state.aids.on && state.depths_of_map != current_map) {
        // The generator writes the map files that name depths; one beyond this bound is none.
        constexpr size_t kLargestMap = size_t{64} << 20;
        std::string problem;
        const std::optional<std::string> text = read_small_file(current_map, kLargestMap, problem);
        state.depths = text ? gen::read_depth_plan(*text) : gen::DepthPlan{};
        state.depths_of_map = current_map;
    }
    const int32_t now = player ? state.depths.depth_of(player->x, player->y) : 0;
    return DepthReached{now, std::max(state.deepest, now),
                        static_cast<int32_t>(state.depths.count())};
}

bool key_bound(int32_t code) {
    return bound(code);
}

WindowKeys free_window_keys() {
    return WindowKeys{.history = !bound(kHistoryKey),
                      .fullscreen = !bound(kFullscreenKey),
                      .rest = !bound(kRestKey),
                      .explore = !bound(kExploreKey),
                      .look = !bound(kLookKey),
                      .overview = !bound(kOverviewKey),
                      .run = !bound(key::kLeftControl),
                      .pick = !bound(kPickKey),
                      .drop_stack = !bound(kDropStackKey),
                      .fire = !bound(kFireKey),
                      .end_question = !bound(kEscapeKey)};
}

Overlay open_overlay() {
    return aids_state().open;
}

bool overlay_takes_the_pass() {
    AidsState& state = aids_state();
    if (!state.aids.on) return false;
    if (state.open == Overlay::None) {
        const Overlay asked = requested_overlay();
        if (asked == Overlay::None) return false;
        open(asked);
        // What was typed together with the window key is not left over for the game either.
        keyboard().drop_hits();
    }
    return true;
}

bool run_overlay_pass() {
    overlay_keys();
    clear_window();
    // The view follows the player as in every frame; the rules are not touched.
    if (player && kamera) kamera->set(player->x, player->y);
    draw_screen();
    draw_side_panel(first_start_hint(), depth_line(), first_screen_notes());
    draw_overlay();
    present_frame();
    return close_requested() == 1;
}

void draw_window_aids() {
    if (aids_state().aids.on) draw_aids_around_the_map();
}

void note_turn_taken() {
    aids_state().aids.first_screen_notice.clear();
    aids_state().first_screen = false;
    note_depth();
}

void toggle_fullscreen_on_request() {
    // Return typed with Alt held counts apart from its plain hits, so a free Return's own hits
    // are left alone.
    const bool alt_free = !bound(kLeftAlt) && !bound(kRightAlt);
    const bool alt_return = alt_free && !bound(kReturnKey) && key_hit_with_alt(kReturnKey) != 0;
    if (free_key_hit(kFullscreenKey) || alt_return) toggle_fullscreen();
}

std::any window_aids_state() {
    return aids_state();
}

void put_back_window_aids_state(const std::any& kept) {
    aids_state() = std::any_cast<const AidsState&>(kept);
}

OverlayPlace overlay_place() {
    return {aids_state().open, aids_state().history_scroll};
}

void put_back_overlay_place(const OverlayPlace& place) {
    aids_state().open = place.open;
    aids_state().history_scroll = place.history_scroll;
}

}  // namespace grotmere
