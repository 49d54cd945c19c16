#include "files/generated_folder.hpp"

#include <unistd.h>

#include <set>
#include <system_error>

#include "base/fnv_hash.hpp"
#include "base/safe_file.hpp"

namespace grotmere {

namespace fs = std::filesystem;

namespace {

const char* const kListName = ".grotmere-gen";
// Larger than any data file a dungeon is made of.
constexpr size_t kLargestFile = size_t{64} << 20;

std::string hash_of(const std::string& text) {
    Fnv1a hash;
    hash.add(text.data(), text.size());
    return hash.hex();
}

std::string kind_of(fs::file_type type) {
    switch (type) {
        case fs::file_type::regular:
            return "a file";
        case fs::file_type::symlink:
            return "a symbolic link";
        case fs::file_type::character:
        case fs::file_type::block:
            return "a device";
        case fs::file_type::fifo:
            return "a FIFO";
        case fs::file_type::socket:
            return "a socket";
        default:
            return "no folder";
    }
}

// The list's lines, "HASH PATH", as path and hash; none when there is no readable list.
std::optional<std::vector<std::pair<std::string, std::string>>> read_list(const fs::path& folder) {
    std::string problem;
    std::error_code error;
    if (!fs::is_regular_file(fs::symlink_status(folder / kListName, error))) return std::nullopt;
    const std::optional<std::string> text =
        read_small_file((folder / kListName).string(), kLargestFile, problem);
    if (!text) return std::nullopt;
    std::vector<std::pair<std::string, std::string>> listed;
    size_t start = 0;
    for (size_t end; (end = text->find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = text->substr(start, end - start);
        const size_t space = line.find(' ');
        if (space == std::string::npos) return std::nullopt;
        listed.emplace_back(line.substr(space + 1), line.substr(0, space));
    }
    return listed;
}

bool lies_within(const fs::path& path, const fs::path& folder) {
    auto [folder_end, path_end] =
        std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
    return folder_end == folder.end();
}

}  // namespace

std::optional<std::string> refusal_of_target(const fs::path& target) {
    if (target.empty()) return std::string("no folder is named to write the dungeon into");
    std::error_code error;
    const fs::path here = fs::weakly_canonical(fs::current_path(error), error);
    const fs::path place = fs::weakly_canonical(fs::absolute(target, error), error);
    if (!error && lies_within(here, place))
        return target.string() +
               " holds the working folder, which grotmere-gen never replaces; "
               "name a folder outside it";
    const fs::file_status status = fs::symlink_status(target, error);
    if (status.type() == fs::file_type::not_found || status.type() == fs::file_type::directory)
        return std::nullopt;
    if (error) return target.string() + " cannot be looked at: " + error.message();
    return target.string() + " is " + kind_of(status.type()) +
           "; grotmere-gen writes only a folder of its own";
}

std::optional<std::string> write_generated_folder(const fs::path& folder,
                                                  const FolderFiles& files) {
    std::string list;
    for (const auto& [name, text] : files) {
        WrittenFile file = create_new_file((folder / name).string());
        if (!file.append(text) || !file.finish()) return file.failure();
        list += hash_of(text) + " " + name + "\n";
    }
    WrittenFile file = create_new_file((folder / kListName).string());
    if (!file.append(list) || !file.finish()) return file.failure();
    return std::nullopt;
}

std::optional<std::string> refusal_to_replace(const fs::path& target) {
    std::error_code error;
    if (!fs::exists(fs::symlink_status(target, error)) || fs::is_empty(target, error))
        return std::nullopt;
    const auto listed = read_list(target);
    if (!listed) {
        return target.string() + " holds files grotmere-gen did not write (it has no " + kListName +
               "); it is left as it is";
    }
    std::set<fs::path> ours{kListName}, folders;
    for (const auto& [name, hash] : *listed) {
        ours.insert(fs::path(name).lexically_normal());
        for (fs::path up = fs::path(name).parent_path(); !up.empty(); up = up.parent_path())
            folders.insert(up);
    }
    for (auto entry = fs::recursive_directory_iterator(target, error);
         !error && entry != fs::recursive_directory_iterator(); entry.increment(error)) {
        const fs::path name = entry->path().lexically_relative(target);
        const fs::file_type type = entry->symlink_status(error).type();
        const bool known = type == fs::file_type::directory
                               ? folders.count(name) > 0
                               : ours.count(name) > 0 && type == fs::file_type::regular;
        if (!known)
            return entry->path().string() + " was not written by grotmere-gen; " + target.string() +
                   " is left as it is";
    }
    if (error) return target.string() + " cannot be read through: " + error.message();
    for (const auto& [name, hash] : *listed) {
        std::string problem;
        // A file of ours that is gone is nothing lost.
        if (!fs::exists(fs::symlink_status(target / name, error))) continue;
        const std::optional<std::string> text =
            read_small_file((target / name).string(), kLargestFile, problem);
        if (text && hash_of(*text) != hash)
            return (target / name).string() + " was changed since grotmere-gen wrote it; " +
                   target.string() + " is left as it is";
    }
    return std::nullopt;
}

std::optional<std::string> put_in_place(const fs::path& made, const fs::path& target) {
    std::error_code error;
    const fs::path old = target.string() + ".old-" + std::to_string(::getpid());
    const bool replacing = fs::exists(fs::symlink_status(target, error));
    if (replacing) {
        fs::rename(target, old, error);
        if (error) return "cannot move " + target.string() + " aside: " + error.message();
    }
    fs::rename(made, target, error);
    if (error) {
        const std::string failure =
            "cannot move the dungeon to " + target.string() + ": " + error.message();
        if (replacing) fs::rename(old, target, error);
        return failure;
    }
    if (replacing) fs::remove_all(old, error);
    return std::nullopt;
}

}  // namespace grotmere
