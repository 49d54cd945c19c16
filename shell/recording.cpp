#include "shell/recording.hpp"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "shell/key_script.hpp"

namespace grotmere {

bool GameRecorder::open(const std::string& path, int32_t seed, const std::string& build,
                        const std::string& data_hash) {
    close();
    path_ = path;
    std::error_code ignored;
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
    file_ = std::fopen(path.c_str(), "wb");
    if (file_ == nullptr) {
        std::fprintf(stderr, "grotmere: warning: cannot write the recording %s: %s\n", path.c_str(),
                     std::strerror(errno));
        return false;
    }
    write("seed " + std::to_string(seed) + "\n# " + build + ", data " + data_hash + "\n");
    return recording();
}

void GameRecorder::add(const std::string& word) {
    if (!line_.empty()) line_ += ' ';
    line_ += word;
}

void GameRecorder::pressed(int32_t code) {
    const std::string word = key_word_for(code);
    add("+" + word);
    last_press_ = word;
}

// A press followed at once by its release is the script's plain hit.
void GameRecorder::released(int32_t code) {
    const std::string word = key_word_for(code);
    const std::string press = "+" + word;
    if (last_press_ == word && line_.size() >= press.size() &&
        line_.compare(line_.size() - press.size(), press.size(), press) == 0) {
        line_.replace(line_.size() - press.size(), press.size(), word);
    } else {
        add("-" + word);
    }
    last_press_.clear();
}

void GameRecorder::focus_changed() {
    add("focus");
    last_press_.clear();
}

void GameRecorder::close_requested() {
    add("close");
    last_press_.clear();
}

void GameRecorder::write_pending_empty_passes() {
    if (empty_passes_ == 1) write("\n");
    if (empty_passes_ > 1) write("pass " + std::to_string(empty_passes_) + "\n");
    empty_passes_ = 0;
}

void GameRecorder::end_pass() {
    if (!recording()) return;
    if (line_.empty()) {
        ++empty_passes_;
    } else {
        write_pending_empty_passes();
        write(line_ + "\n");
    }
    line_.clear();
    last_press_.clear();
    if (++passes_since_flush_ < kPassesPerFlush) return;
    passes_since_flush_ = 0;
    write_pending_empty_passes();
    if (file_ != nullptr && std::fflush(file_) != 0) give_up();
}

void GameRecorder::close() {
    if (!recording()) return;
    if (!line_.empty()) end_pass();
    write_pending_empty_passes();
    if (file_ == nullptr) return;
    if (std::fclose(file_) != 0) {
        file_ = nullptr;
        give_up();
    }
    file_ = nullptr;
}

void GameRecorder::write(const std::string& text) {
    if (file_ == nullptr) return;
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) give_up();
}

void GameRecorder::give_up() {
    std::fprintf(stderr, "grotmere: warning: the recording %s could not be written: %s\n",
                 path_.c_str(), std::strerror(errno));
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
}

std::optional<std::string> user_data_folder() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && *xdg == '/') return std::string(xdg) + "/grotmere";
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') return std::string(home) + "/.local/share/grotmere";
    return std::nullopt;
}

std::string recording_file_name(int32_t seed) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
    return std::string(stamp) + "_seed" + std::to_string(seed) + ".keys";
}

}  // namespace grotmere
