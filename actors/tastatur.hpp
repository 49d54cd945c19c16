// TTastatur, the key bindings: one key code per command, 0 leaving the command unbound. The
// binding file's first record becomes `bindings`, read by the player's action routine.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/key_codes.hpp"
#include "records/record.hpp"

namespace grotmere {

class TTastatur : public Record {
public:
    int32_t look = 0;
    int32_t inv_10 = 0;
    int32_t inv_1 = 0;
    int32_t inv_2 = 0;
    int32_t inv_3 = 0;
    int32_t inv_4 = 0;
    int32_t inv_5 = 0;
    int32_t inv_6 = 0;
    int32_t inv_7 = 0;
    int32_t inv_8 = 0;
    int32_t inv_9 = 0;
    int32_t get = 0;
    int32_t use = 0;
    int32_t drop = 0;  // held down, not hit: turns an inventory key or `get` into a drop
    int32_t ready_bow = 0;
    int32_t go_up = 0;
    int32_t go_down = 0;
    int32_t go_left = 0;
    int32_t go_right = 0;
    int32_t toggle_inv = 0;
    int32_t toggle_wearings = 0;
    int32_t wait = 0;
};

// One command of the key bindings. The list below is the only one: the field table, the window
// aids (which keys the file takes), the help and the slot keys of the action routine read it.
struct Binding {
    const char* field;  // its name in the binding file
    int32_t TTastatur::*key;
    int32_t slot;        // the inventory slot the key uses, 0 for none
    int32_t help_place;  // where the help lists it on a line of its own, 0 for among the slots
    const char* help;    // what the help says it does
};

// In the binding file's field order, which is also the order the action routine tests the slot
// keys in.
inline constexpr std::array<Binding, 22> kBindings = {{
    {"look", &TTastatur::look, 0, 6, "Look around"},
    {"inv_10", &TTastatur::inv_10, 10, 0, ""},
    {"inv_1", &TTastatur::inv_1, 1, 0, ""},
    {"inv_2", &TTastatur::inv_2, 2, 0, ""},
    {"inv_3", &TTastatur::inv_3, 3, 0, ""},
    {"inv_4", &TTastatur::inv_4, 4, 0, ""},
    {"inv_5", &TTastatur::inv_5, 5, 0, ""},
    {"inv_6", &TTastatur::inv_6, 6, 0, ""},
    {"inv_7", &TTastatur::inv_7, 7, 0, ""},
    {"inv_8", &TTastatur::inv_8, 8, 0, ""},
    {"inv_9", &TTastatur::inv_9, 9, 0, ""},
    {"get", &TTastatur::get, 0, 7, "Pick up"},
    {"use", &TTastatur::use, 0, 9, "Use what is here or beside"},
    {"drop", &TTastatur::drop, 0, 8, "Drop one gold"},
    {"ready_bow", &TTastatur::ready_bow, 0, 10, "Ready or put away the bow"},
    {"go_up", &TTastatur::go_up, 0, 2, "Walk (or shoot) up"},
    {"go_down", &TTastatur::go_down, 0, 4, "Walk (or shoot) down"},
    {"go_left", &TTastatur::go_left, 0, 1, "Walk (or shoot) left"},
    {"go_right", &TTastatur::go_right, 0, 3, "Walk (or shoot) right"},
    {"toggle_inv", &TTastatur::toggle_inv, 0, 11, "Show or hide the inventory"},
    {"toggle_wearings", &TTastatur::toggle_wearings, 0, 12, "Show or hide the worn items"},
    {"wait", &TTastatur::wait, 0, 5, "Wait a turn"},
}};

// The first command the key code is bound to, or null.
inline const Binding* binding_of(const TTastatur& keys, int32_t code) {
    for (const Binding& binding : kBindings) {
        if (keys.*binding.key == code) return &binding;
    }
    return nullptr;
}

// A command bound to Escape takes its hits before the game looks for them, so Escape no longer
// ends the game: what the start-up and the content check say of it, or "" when Escape is free.
inline std::string escape_taken(const TTastatur& keys) {
    const Binding* taken = binding_of(keys, key::kEscape);
    if (taken == nullptr) return "";
    return std::string("Escape is bound to \"") + taken->field +
           "\", so it no longer ends the game: close the window to quit";
}

}  // namespace grotmere
