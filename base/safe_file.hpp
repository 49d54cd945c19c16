// Files the game writes (recordings, morgue files, the list of started folders): a name that
// exists is never opened for writing, a symbolic link is never followed, and a file is never
// truncated in place. A new file is created exclusively; a file that replaces another is written
// beside it under a temporary name and renamed over it; a file that must not collide with another
// game's takes the first free name of a numbered series. What is written whole reaches the disk
// before its name does, so a power cut, like a crash, leaves the old file or the new one.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace grotmere {

class WrittenFile {
public:
    WrittenFile() = default;
    ~WrittenFile();
    WrittenFile(WrittenFile&& other) noexcept;
    WrittenFile& operator=(WrittenFile&& other) noexcept;
    WrittenFile(const WrittenFile&) = delete;
    WrittenFile& operator=(const WrittenFile&) = delete;

    bool is_open() const { return fd_ >= 0; }
    // Where the file is (or, while it waits to replace another, will be) found.
    const std::string& path() const { return path_; }
    // What went wrong, "cannot create FILE: REASON"; empty while nothing has.
    const std::string& failure() const { return failure_; }

    // Adds the whole text or none of it: a write cut short (a full disk) is taken back, so the
    // file always ends after a whole text. False, with the file closed, on an error.
    bool append(std::string_view text);
    // What was appended is on the disk, not only in the system's memory, when this returns true.
    bool sync();
    // A replacement takes the place of the file it replaces now, its text synced first and its
    // folder after; later appends go on into it.
    bool publish();
    // Syncs, publishes and closes. False when something failed, now or before.
    bool finish();

    // The file as made by the functions below.
    WrittenFile(int fd, std::string path, std::string temporary);
    static WrittenFile failed(std::string failure);

private:
    friend WrittenFile create_replacement(const std::string& path);
    void fail(const std::string& what, const std::string& name, int error);
    void close_descriptor();

    int fd_ = -1;
    std::string path_;
    std::string temporary_;  // while a replacement is not yet published
    long long size_ = 0;
    std::string failure_;
};

// Makes the folder and its parents; the failure as text, empty when the folder is there.
std::string make_folders(const std::string& folder);

// A new file at `path`, made only when no file, folder or link of that name exists.
WrittenFile create_new_file(const std::string& path);
// The first free name of FOLDER/STEM.EXT, FOLDER/STEM-2.EXT, ... (up to -999), made exclusively:
// two games that choose the same name at the same time each get a file of their own.
WrittenFile create_unique_file(const std::string& folder, const std::string& stem,
                               const std::string& extension);
// A file that will replace `path` (or take its name when it does not exist) when published: it
// is written under a temporary name in the same folder until then.
WrittenFile create_replacement(const std::string& path);

// Reads a file the game wrote before, when it is a regular file of at most `largest` bytes: never
// through a link, never waiting on a FIFO, never more than the bound. A file that is not there
// reads as empty. None, with `problem` saying why ("is no regular file"), otherwise.
std::optional<std::string> read_small_file(const std::string& path, size_t largest,
                                           std::string& problem);

// "PATH: REASON" of a file-system error, the last word of a program that met one.
std::string file_system_failure(const std::filesystem::filesystem_error& error);

// Writes `text` as the whole content of `path` through a replacement.
bool replace_file(const std::string& path, std::string_view text, std::string& failure);

}  // namespace grotmere
