// The game folder of the largest map (tools/large_map.py: 256 x 256 tiles, 1,000 lights, 1,000
// monsters), written once into a temporary folder for the benchmarks that play on it.
#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <string>

namespace grotmere::bench {

inline std::string largest_map_folder() {
    static const std::string folder = [] {
        char made[] = "/tmp/grotmere_largest_map_XXXXXX";
        if (!mkdtemp(made)) std::abort();
        const std::string command = std::string("python3 ") + GROTMERE_SOURCE_DIR +
                                    "/tools/large_map.py " + made + " > /dev/null";
        if (std::system(command.c_str()) != 0) std::abort();
        return std::string(made);
    }();
    return folder;
}

}  // namespace grotmere::bench
