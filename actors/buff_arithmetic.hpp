// The four operations that buffs and potion effects apply to a field: "+", "-", "*" and "/", on
// wrapping 32-bit values like every game value. Division cuts toward zero. A division by 0, or of
// the lowest value by -1, has no 32-bit result; such an operation is left undone, never executed.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace grotmere {

// Whether value / divisor has a 32-bit result.
inline bool can_divide(int32_t value, int32_t divisor) {
    if (divisor == 0) return false;
    return !(divisor == -1 && value == std::numeric_limits<int32_t>::min());
}

// The value after the operation; none for any other operand, or for a division that cannot be
// carried out.
inline std::optional<int32_t> apply_operand(int32_t value, const std::string& operand,
                                            int32_t wert) {
    if (operand == "+") return value + wert;
    if (operand == "-") return value - wert;
    if (operand == "*") return value * wert;
    if (operand == "/" && can_divide(value, wert)) return value / wert;
    return std::nullopt;
}

}  // namespace grotmere
