#include "base/portable.hpp"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <string>

namespace grotmere {

#if defined(__cpp_lib_to_chars)

std::optional<double> whole_text_as_double(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

#else

// The browser's library has no from_chars for floating point. strtod reads a few texts that
// from_chars refuses (leading blanks, a plus sign, hexadecimal); those are refused first, so both
// builds take the same texts.
std::optional<double> whole_text_as_double(std::string_view text) {
    if (text.empty() || text.front() == '+' || text.find_first_of(" \t\n\v\f\rxX") != text.npos)
        return std::nullopt;
    const std::string copy(text);
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(copy.c_str(), &end);
    if (errno == ERANGE || end != copy.c_str() + copy.size()) return std::nullopt;
    return value;
}

#endif

}  // namespace grotmere
