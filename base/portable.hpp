// What the desktop's compiler and the browser's do not share. The game is built with both, and
// their C++ libraries differ in a few newer parts of the standard; each such difference is
// bridged here, once, so the rest of the code reads the same for both.
#pragma once

#include <optional>
#include <string_view>

namespace grotmere {

// The whole text as a decimal floating-point number in the C locale, or nothing: no leading
// blanks, no plus sign, no hexadecimal, no text after the number.
std::optional<double> whole_text_as_double(std::string_view text);

}  // namespace grotmere
