#include "base/random.hpp"

namespace grotmere {

namespace {

constexpr int32_t kModulus = 2147483647;
constexpr int32_t kMultiplier = 48271;
// Schrage's factors: kModulus = kMultiplier * kQuotient + kRemainder.
constexpr int32_t kQuotient = 44488;
constexpr int32_t kRemainder = 3399;

int32_t state = kUnseededRandomState;

int32_t advance() {
    if (state > 0 && state < kModulus) {
        // Within the generator's range Schrage's step is the product taken modulo 2^31 - 1,
        // which folds its high bits onto its low ones; this is the cheaper way to the same number.
        const uint64_t product = static_cast<uint64_t>(state) * kMultiplier;
        uint64_t folded = (product & kModulus) + (product >> 31);
        if (folded >= static_cast<uint64_t>(kModulus)) folded -= kModulus;
        state = static_cast<int32_t>(folded);
        return state;
    }
    // A state restored from elsewhere keeps the step it always had.
    state = kMultiplier * (state % kQuotient) - kRemainder * (state / kQuotient);
    if (state < 0) state += kModulus;
    return state;
}

}  // namespace

void seed_random(int32_t seed) {
    state = seed & 0x7FFFFFFF;
    if (state == 0 || state == kModulus) state = kUnseededRandomState;
}

double random_double() {
    double s1 = advance() & 0x1FFFFFFC;
    double s2 = advance() & 0x1FFFFFF8;
    return (s1 + s2 / 134217728.0) / 536870912.0;  // (s1 + s2 / 2^27) / 2^29
}

int32_t random_range(int32_t min, int32_t max) {
    // The span is taken in 64 bits: bounds far apart must not wrap into a negative width.
    int64_t d = static_cast<int64_t>(max) - min;
    if (d > 0) return static_cast<int32_t>(min + static_cast<int64_t>(random_double() * (d + 1)));
    return static_cast<int32_t>(max + static_cast<int64_t>(random_double() * (1 - d)));
}

int32_t random_state() {
    return state;
}
void set_random_state(int32_t new_state) {
    state = new_state;
}

}  // namespace grotmere
