#include "files/output_files.hpp"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace grotmere {

namespace fs = std::filesystem;

namespace {

// Enough of a file's start to know what it is.
constexpr size_t kHeadBytes = 512;

fs::path resolved(const std::string& path) {
    std::error_code error;
    fs::path full = fs::weakly_canonical(fs::absolute(path, error), error);
    return error ? fs::absolute(path).lexically_normal() : full;
}

bool lies_within(const fs::path& path, const fs::path& folder) {
    return std::mismatch(folder.begin(), folder.end(), path.begin(), path.end()).first ==
           folder.end();
}

std::string head_of(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string head(kHeadBytes, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<size_t>(in.gcount()));
    return head;
}

// A recording begins "seed N" and names its build and data in the next line; a morgue file
// begins with its title.
bool is_ours(const std::string& head, OutputKind kind) {
    if (kind == OutputKind::Morgue) return head.starts_with("Grotmere morgue file\n");
    const size_t first_end = head.find('\n');
    if (!head.starts_with("seed ") || first_end == std::string::npos) return false;
    const size_t second_end = head.find('\n', first_end + 1);
    const std::string second = head.substr(first_end + 1, second_end - first_end - 1);
    return second.starts_with("# ") && second.find(", data ") != std::string::npos;
}

}  // namespace

std::string output_extension(OutputKind kind) {
    return kind == OutputKind::Recording ? ".keys" : ".txt";
}

WrittenFile open_output(const OutputTarget& target) {
    if (!target.path.empty()) return create_replacement(target.path);
    return create_unique_file(target.folder, target.stem, output_extension(target.kind));
}

std::optional<std::string> refusal_to_write(const std::string& path, OutputKind kind,
                                            const std::string& data_folder) {
    const std::string what = kind == OutputKind::Recording ? "recording" : "morgue file";
    if (lies_within(resolved(path), resolved(data_folder) / "bifs"))
        return path + " lies among the game's data files";
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    if (error || status.type() == fs::file_type::not_found) return std::nullopt;
    if (status.type() != fs::file_type::regular)
        return path + " is no regular file; a " + what + " is written only as a file of its own";
    if (!is_ours(head_of(path), kind))
        return path + " exists and is no " + what + " of this game; it is left as it is";
    return std::nullopt;
}

bool same_output(const std::string& first, const std::string& second) {
    return resolved(first) == resolved(second);
}

}  // namespace grotmere
