#include "files/user_data_folder.hpp"

#include <cstdlib>
#include <ctime>

namespace grotmere {

std::optional<std::string> user_data_folder() {
    // A relative XDG_DATA_HOME is to be ignored, as the base directory rules say.
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && *xdg == '/') return std::string(xdg) + "/grotmere";
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') return std::string(home) + "/.local/share/grotmere";
    return std::nullopt;
}

std::string recording_file_stem(int32_t seed) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
    return std::string(stamp) + "_seed" + std::to_string(seed);
}

}  // namespace grotmere
