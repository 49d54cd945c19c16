// The folder grotmere-gen writes a dungeon into. It lists the files it wrote, with a hash of each,
// in .grotmere-gen beside them, and replaces a folder only when that list names everything in it
// and every file is as written: a folder holding anything else (a file of the player's, a file
// changed since) is named and refused, and left exactly as it is. A new folder is made beside its
// place under another name and renamed into it, so a crash leaves the old folder or the new one.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace grotmere {

// The files of a folder to write: path relative to the folder, and text.
using FolderFiles = std::vector<std::pair<std::string, std::string>>;

// Why `target` can take no generated folder at all: an empty name, the working folder or a folder
// holding it, or something that is no folder (a file, a link, a device, a FIFO). None when it can.
std::optional<std::string> refusal_of_target(const std::filesystem::path& target);

// Writes the files and their list as the new folder `folder`; the failure in words, or none.
std::optional<std::string> write_generated_folder(const std::filesystem::path& folder,
                                                  const FolderFiles& files);

// Why the folder at `target` must not be replaced: the first thing in it that its list does not
// name or that changed since it was written. None when there is nothing there, an empty folder,
// or only what was written.
std::optional<std::string> refusal_to_replace(const std::filesystem::path& target);

// Puts the folder `made` in the place of `target`, which refusal_to_replace allowed; the old
// folder's files are removed only once the new one stands. The failure in words, or none.
std::optional<std::string> put_in_place(const std::filesystem::path& made,
                                        const std::filesystem::path& target);

}  // namespace grotmere
