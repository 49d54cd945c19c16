// Choosing the dice for a test: the seed from which the random service draws given values, and a
// look at the next draw without taking it.
//
//   seed_rolling({{1, 100, 61}});   // the next random_range(1, 100) gives 61
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>

#include "base/random.hpp"

namespace grotmere::testing {

struct Roll {
    int32_t low;
    int32_t high;
    int32_t value;
};

// Seeds the generator so that its next draws are exactly these, in order.
inline void seed_rolling(std::initializer_list<Roll> rolls) {
    for (int32_t seed = 1; seed < 20'000'000; ++seed) {
        seed_random(seed);
        bool all = true;
        for (const Roll& roll : rolls) {
            if (random_range(roll.low, roll.high) != roll.value) {
                all = false;
                break;
            }
        }
        if (all) {
            seed_random(seed);
            return;
        }
    }
    ADD_FAILURE() << "no seed draws these rolls";
}

// What the next random_range(low, high) will give, leaving the generator as it is.
inline int32_t peek_roll(int32_t low = 1, int32_t high = 100) {
    const int32_t state = random_state();
    const int32_t roll = random_range(low, high);
    set_random_state(state);
    return roll;
}

}  // namespace grotmere::testing
