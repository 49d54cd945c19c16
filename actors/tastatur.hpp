// TTastatur, the key bindings: one key code per command, 0 leaving the command unbound. The
// binding file's first record becomes `bindings`, read by the player's action routine.
#pragma once

#include <cstdint>

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

}  // namespace grotmere
