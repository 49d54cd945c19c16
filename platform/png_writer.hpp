// Screenshots: the framebuffer to and from an 8-bit RGB PNG file, through libpng. The simulator
// and the game write them; tests read them back to compare pictures pixel for pixel. Neither
// function throws or crashes on a bad path or a damaged file: each returns false and, when
// `error` is given, says why.
#pragma once

#include <string>

#include "platform/canvas.hpp"

namespace grotmere {

// Writes the framebuffer as an 8-bit RGB PNG. A framebuffer with no pixels cannot be a PNG and is
// refused.
bool write_png(const Framebuffer& frame, const std::string& path, std::string* error);

// Reads an 8-bit RGB PNG (what write_png writes) into `out`, which must already have the size of
// the picture expected: a file of another size, or with alpha, grey, a palette or 16-bit
// channels, is refused and `out` is left as it was.
bool read_png(const std::string& path, Framebuffer& out, std::string* error);

}  // namespace grotmere
