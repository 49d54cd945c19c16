#include "files/first_start.hpp"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/safe_file.hpp"
#include "files/user_data_folder.hpp"

namespace grotmere {

namespace fs = std::filesystem;

namespace {

// Far more folders than anyone plays in; a list beyond it is left as it is.
constexpr size_t kLargestList = size_t{1} << 20;

void warn(const fs::path& list, const std::string& what) {
    std::fprintf(stderr, "grotmere: warning: %s %s; the list of started folders is left alone\n",
                 list.c_str(), what.c_str());
}

// Reads the list when it is a regular file within the bound. A list that is not there reads as
// empty.
std::optional<std::string> read_list(const fs::path& list) {
    std::string problem;
    std::optional<std::string> text = read_small_file(list.string(), kLargestList, problem);
    if (!problem.empty()) warn(list, problem);
    return text;
}

}  // namespace

std::optional<fs::path> started_folders_file() {
    const std::optional<std::string> home = user_data_folder();
    if (!home) return std::nullopt;
    return fs::path(*home) / "started-folders";
}

bool list_names_folder(std::string_view text, std::string_view folder) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line == folder) return true;
        start = end + 1;
    }
    return false;
}

bool first_start_in(const fs::path& data_folder, const std::optional<fs::path>& list_file) {
    std::error_code error;
    fs::path folder = fs::weakly_canonical(fs::absolute(data_folder, error), error);
    if (error) folder = data_folder;
    const std::string key = folder.string();
    if (!list_file) return true;
    std::optional<std::string> text = read_list(*list_file);
    if (!text) return true;
    if (list_names_folder(*text, key)) return false;
    if (!text->empty() && text->back() != '\n') *text += '\n';
    std::string failure;
    if (!replace_file(list_file->string(), *text + key + "\n", failure))
        warn(*list_file, "cannot be written (" + failure + ")");
    return true;
}

}  // namespace grotmere
