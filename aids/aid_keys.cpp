#include "aids/aid_keys.hpp"

#include <algorithm>
#include <array>

#include "actors/player.hpp"
#include "actors/tastatur.hpp"
#include "aids/aid_prompts.hpp"
#include "aids/aid_walk.hpp"
#include "aids/window_aids.hpp"
#include "platform/key_codes.hpp"
#include "platform/keyboard.hpp"
#include "platform/platform.hpp"
#include "view/map_cells.hpp"
#include "world/tile_grid.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

struct Step {
    int32_t dx = 0;
    int32_t dy = 0;
};

class AidGate : public KeyGate {
public:
    bool takes_press(int32_t code) override;
    bool takes_release(int32_t code) override;
};

struct AidKeyState {
    bool on = false;
    AidView view = AidView::None;
    MapCell cursor;
    bool ctrl_down = false;
    std::array<bool, KeyboardState::kCodes> taken_down{};
    uint64_t picture_version = 0;
    uint64_t pointer_moves = 0;
    // The mouse moved since the last key: only then does the panel describe the cell under it,
    // so a pointer left resting on the map does not hide the panel.
    bool hovering = false;
    uint64_t walk_said = 0;
    AidGate gate;
};

AidKeyState& aid_keys() {
    static AidKeyState state;
    return state;
}

void picture_changed() {
    ++aid_keys().picture_version;
}

bool free_key(int32_t code) {
    return !key_bound(code);
}

bool ctrl_key(int32_t code) {
    return (code == key::kLeftControl || code == key::kRightControl) && free_key(code);
}

// The step a bound direction key stands for, if it is one.
std::optional<Step> direction_of(int32_t code) {
    if (!bindings || code == 0) return std::nullopt;
    const TTastatur& k = *bindings;
    if (code == k.go_left) return Step{-1, 0};
    if (code == k.go_right) return Step{1, 0};
    if (code == k.go_up) return Step{0, -1};
    if (code == k.go_down) return Step{0, 1};
    return std::nullopt;
}

void open_view(AidView view) {
    AidKeyState& keys = aid_keys();
    keys.view = view;
    if (view == AidView::Look && player) keys.cursor = MapCell{player->x, player->y};
}

void look_key(int32_t code) {
    AidKeyState& keys = aid_keys();
    if (code == key::kEscape || (code == kLookKey && free_key(code))) {
        keys.view = AidView::None;
    } else if (code == key::kReturn || (code == kTravelKey && free_key(code))) {
        keys.view = AidView::None;
        start_travel(keys.cursor.x, keys.cursor.y);
    } else if (const std::optional<Step> step = direction_of(code)) {
        const MapCell next{keys.cursor.x + step->dx, keys.cursor.y + step->dy};
        if (inside_map(next.x, next.y)) keys.cursor = next;
    }
}

// The aid keys that start something, when the binding file leaves them free.
bool command_key(int32_t code) {
    if (!free_key(code)) return false;
    switch (code) {
        case kRestKey:
            start_rest();
            return true;
        case kExploreKey:
            start_explore();
            return true;
        case kLookKey:
            open_view(AidView::Look);
            return true;
        case kOverviewKey:
            open_view(AidView::Overview);
            return true;
        case key::kEscape:
            ask_to_end();
            return true;
        case kPickKey:
            offer_pick();
            return true;
        case kDropStackKey:
            ask_drop();
            return true;
        case kFireKey:
            aim();
            return true;
        default:
            return false;
    }
}

bool press_taken(int32_t code) {
    AidKeyState& keys = aid_keys();
    if (open_prompt() != Prompt::None) {
        prompt_key(code);
        return true;
    }
    if (keys.view == AidView::Look) {
        look_key(code);
        return true;
    }
    if (keys.view == AidView::Overview) {
        if (code == key::kEscape || (code == kOverviewKey && free_key(code)))
            keys.view = AidView::None;
        return true;
    }
    // Any key stops a walk, and does nothing else.
    if (walking() != WalkKind::None) {
        stop_walking("Stopped.");
        return true;
    }
    if (ctrl_key(code)) {
        keys.ctrl_down = true;
        return true;
    }
    if (keys.ctrl_down) {
        if (const std::optional<Step> step = direction_of(code)) {
            start_run(step->dx, step->dy);
            return true;
        }
    }
    return command_key(code);
}

bool AidGate::takes_press(int32_t code) {
    AidKeyState& keys = aid_keys();
    if (keys.hovering) {
        keys.hovering = false;
        picture_changed();
    }
    // The help and the history read their own keys.
    if (!keys.on || open_overlay() != Overlay::None) return false;
    if (!press_taken(code)) return false;
    keys.taken_down[static_cast<size_t>(code)] = true;
    picture_changed();
    return true;
}

// The release of a key whose press was taken is taken too, so a recording never holds half a key.
bool AidGate::takes_release(int32_t code) {
    AidKeyState& keys = aid_keys();
    if (!keys.taken_down[static_cast<size_t>(code)]) return false;
    keys.taken_down[static_cast<size_t>(code)] = false;
    if (ctrl_key(code))
        keys.ctrl_down = keys.taken_down[key::kLeftControl] || keys.taken_down[key::kRightControl];
    return true;
}

std::optional<MapCell> cell_under_pointer() {
    const PointerState& pointer = keyboard().pointer();
    MapCell cell;
    if (!pointer.inside || !map_cell_at_pixel(pointer.x, pointer.y, cell.x, cell.y))
        return std::nullopt;
    return cell;
}

// A click on the map travels there; the pointer's moves only change the picture.
void follow_the_mouse() {
    AidKeyState& keys = aid_keys();
    PointerState& pointer = keyboard().pointer();
    if (pointer.moves != keys.pointer_moves) {
        keys.pointer_moves = pointer.moves;
        keys.hovering = true;
        picture_changed();
    }
    const int32_t clicks = std::exchange(pointer.clicks, 0);
    if (clicks == 0 || keys.view != AidView::None || open_overlay() != Overlay::None ||
        open_prompt() != Prompt::None)
        return;
    if (const std::optional<MapCell> cell = cell_under_pointer()) {
        stop_walking("");
        start_travel(cell->x, cell->y);
    }
}

}  // namespace

void set_aid_keys(bool on) {
    AidKeyState& keys = aid_keys();
    const uint64_t version = keys.picture_version + 1;
    keys = AidKeyState{};
    keys.on = on;
    keys.picture_version = version;
    close_prompt();
    reset_walking();
    keyboard().set_gate(on ? &keys.gate : nullptr);
}

AidView aid_view() {
    return aid_keys().view;
}

std::optional<MapCell> pointed_cell() {
    const AidKeyState& keys = aid_keys();
    if (open_prompt() != Prompt::None) return std::nullopt;
    if (keys.view == AidView::Look) return keys.cursor;
    if (keys.view == AidView::Overview || !keys.hovering) return std::nullopt;
    return cell_under_pointer();
}

void aid_pass() {
    AidKeyState& keys = aid_keys();
    if (!keys.on) return;
    follow_the_mouse();
    prompt_pass();
    walk_pass();
    if (walk_said_version() != keys.walk_said) {
        keys.walk_said = walk_said_version();
        picture_changed();
    }
}

uint64_t aid_picture_version() {
    return aid_keys().picture_version + prompt_version();
}

std::any aid_keys_state() {
    return aid_keys();
}

// The gate stays where it is, and the keyboard asks it while the aids' keys are on.
void put_back_aid_keys_state(const std::any& kept) {
    AidKeyState& keys = aid_keys();
    keys = std::any_cast<const AidKeyState&>(kept);
    keyboard().set_gate(keys.on ? &keys.gate : nullptr);
}

}  // namespace grotmere
