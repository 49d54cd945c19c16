// Feeds arbitrary bytes as the list of started folders, read and rewritten by the game's own
// code in a scratch folder: its first line names the folder started in. Whatever the list holds,
// the start that notes a folder is followed by one that finds it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "files/first_start.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    namespace fs = std::filesystem;
    static const fs::path scratch =
        fs::temp_directory_path() / ("grotmere_started_" + std::to_string(::getpid()));
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const size_t first_end = bytes.find('\n');
    // The folder's own name (a line of the list) need not exist; it is taken as written.
    const std::string folder =
        "/" + bytes.substr(0, first_end == std::string::npos ? 0 : first_end);
    fs::create_directories(scratch);
    const fs::path list = scratch / "started-folders";
    std::ofstream(list, std::ios::binary) << bytes;
    grotmere::first_start_in(folder, list);
    // A name with a carriage return or NUL byte is no folder anyone starts in.
    const bool plain = folder.find_first_of(std::string("\r\0", 2)) == std::string::npos;
    if (grotmere::first_start_in(folder, list) && plain) std::abort();
    return 0;
}
