// Writes the game's icon (platform/game_icon.hpp) as a PNG file. Run by the build for each size
// the desktop asks for:
//   grotmere-icon SIZE FILE.png
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/game_icon.hpp"
#include "platform/png_writer.hpp"

int main(int argc, char** argv) {
    const int32_t size = argc == 3 ? std::atoi(argv[1]) : 0;
    if (size < 16 || size > 1024) {
        std::fprintf(stderr, "usage: grotmere-icon SIZE FILE.png (SIZE 16 to 1024)\n");
        return 2;
    }
    std::string error;
    if (!grotmere::write_png(grotmere::draw_game_icon(size), argv[2], &error)) {
        std::fprintf(stderr, "grotmere-icon: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
