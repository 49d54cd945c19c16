// An advisory lock on a file, held for the life of the object: the unfinished game's lock (held
// while a window plays on a data folder) and the hall of fame's (held while a game adds its line).
// The kernel lets the lock go when its holder ends, however it ends, so a crash never leaves one
// behind and a process number used again by another program cannot fake one. The lock file is
// opened without following a link; a folder, a link or a file that cannot be opened in its place
// is no lock, and is reported as unusable rather than taken as held.
#pragma once

#include <cstdint>
#include <string>

namespace grotmere {

class FileLock {
public:
    enum class State { Held, Busy, Unusable };

    // Takes the lock at `path` (making the file, never its folders) without waiting.
    static FileLock try_take(const std::string& path);
    // Tries again every few milliseconds for at most `milliseconds` while another holds it.
    static FileLock take_within(const std::string& path, int32_t milliseconds);

    FileLock() = default;
    ~FileLock();
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    State state() const { return state_; }
    bool held() const { return state_ == State::Held; }
    // Why the lock is unusable: "is a folder", "is a symbolic link", "cannot be opened (...)".
    const std::string& problem() const { return problem_; }

    // The holder writes a line saying who it is, for the message another process shows. Only the
    // holder ever writes the file, so rewriting it in place races with nobody who relies on it.
    void name_holder(const std::string& text);
    // What the holder wrote, when the file is a plain file; "" otherwise.
    static std::string holder_named(const std::string& path);

private:
    void release();

    int fd_ = -1;
    State state_ = State::Unusable;
    std::string problem_;
};

}  // namespace grotmere
