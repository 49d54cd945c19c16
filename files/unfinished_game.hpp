// A game that outlives its window. While a recorded game is played, a note in the user's folder
// (grotmere/unfinished/HASH, HASH the data files' hash) names its recording; the note goes when
// the game ends by the rules, and stays when the window is closed, the process is killed or the
// machine stops. The next game started on the same data finds it and may continue the game by
// playing its recording back. A lock beside the note (HASH.lock, base/file_lock.hpp) is held by
// the window playing on those data, so a second window neither takes over the first's game nor
// keeps its own; the kernel lets the lock go with its holder, so nothing is ever left locked.
//
// The note is trusted no further than a file in the user's folder deserves: the recording it
// names must lie in that folder's recordings/ (no link leading out of it) and be a recording of
// these data. A note that names anything else is set aside, and the file it names left alone.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/file_lock.hpp"
#include "replay/key_script.hpp"

namespace grotmere {

struct UnfinishedGame {
    std::string recording;  // its path
    std::string kept_text;  // the recording's whole lines, to go on from
    KeyScript script;
    std::string when;  // the recording's last change, "2026-12-07 14:05"
};

// Holds the lock of a data folder's unfinished game while it lives.
class UnfinishedLock {
public:
    explicit UnfinishedLock(const std::string& data_hash);
    // This window may keep its game over a close: it holds the lock, or the lock file is unusable
    // (a folder, a link, unreadable), which was reported and is not taken as another's.
    bool held() const { return held_; }
    // When another window plays on these data: "process 4242, since 2026-12-08 14:05".
    const std::optional<std::string>& elsewhere() const { return elsewhere_; }

private:
    FileLock lock_;
    bool held_ = false;
    std::optional<std::string> elsewhere_;
};

// Notes the recording of the game now played; forgets it when the game has ended.
void note_unfinished(const std::string& data_hash, const std::string& recording);
void forget_unfinished(const std::string& data_hash);

// The unfinished game of these data files, if one is noted and its recording can be read. A note
// naming no readable recording of these data in the recordings folder is set aside (renamed,
// never deleted) with a warning naming what it named; the file it names is not touched.
std::optional<UnfinishedGame> find_unfinished(const std::string& data_hash);

// Renames a recording that cannot be continued to "NAME.keys.WHY" beside it; the new path.
std::string put_aside(const std::string& recording, const std::string& why);

}  // namespace grotmere
