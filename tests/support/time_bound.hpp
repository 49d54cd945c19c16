// Time bounds for the tests that catch work growing faster than its input (a quadratic list, a
// light walking far off the map). A bound holds for the optimised build; the sanitizer build runs
// the same work many times slower, so its bounds are wider.
#pragma once

namespace grotmere::testing {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr double kTimeScale = 12.0;
#else
inline constexpr double kTimeScale = 1.0;
#endif

// Seconds the work may take in this build.
inline constexpr double seconds_allowed(double optimised) {
    return optimised * kTimeScale;
}

}  // namespace grotmere::testing
