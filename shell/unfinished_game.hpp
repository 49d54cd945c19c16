// A game that outlives its window. While a recorded game is played, a note in the user's folder
// (grotmere/unfinished/HASH, HASH the data files' hash) names its recording; the note goes when
// the game ends by the rules, and stays when the window is closed, the process is killed or the
// machine stops. The next game started on the same data finds it and may continue the game by
// playing its recording back. A lock beside the note (HASH.lock, holding the owner's process id)
// keeps a second window on the same data from taking over the first's game; a lock whose owner
// is gone is broken.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "shell/key_script.hpp"

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
    ~UnfinishedLock();
    UnfinishedLock(const UnfinishedLock&) = delete;
    UnfinishedLock& operator=(const UnfinishedLock&) = delete;
    bool held() const { return !path_.empty(); }

private:
    std::string path_;
};

// Notes the recording of the game now played; forgets it when the game has ended.
void note_unfinished(const std::string& data_hash, const std::string& recording);
void forget_unfinished(const std::string& data_hash);

// The unfinished game of these data files, if one is noted and its recording can be read. A
// recording that cannot be played is put aside (renamed, never deleted) with a message, and the
// note forgotten.
std::optional<UnfinishedGame> find_unfinished(const std::string& data_hash);

// Renames a recording that cannot be continued to "NAME.keys.WHY" beside it; the new path.
std::string put_aside(const std::string& recording, const std::string& why);

}  // namespace grotmere
