// What a playback of a key script or recording tells its player: that the recording was made on
// other data, names no seed, or was cut short; and, pass by pass, whether the game still is the
// one recorded, by the state's digest at each of the recording's checkpoints.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "replay/key_script.hpp"

namespace grotmere {

// The warnings for playing `script` (read from `path`) on the data in the folder "bifs" of the
// working directory; `seed_given` when the command line names the seed.
std::vector<std::string> playback_warnings(const KeyScript& script, const std::string& path,
                                           bool seed_given);

class CheckpointVerifier {
public:
    explicit CheckpointVerifier(const KeyScript& script) : script_(script) {}
    // After pass `pass` (counted from 1): "recording diverges at pass 4,200: ..." when the
    // recording has a checkpoint there that the state does not match, else none.
    std::optional<std::string> after_pass(int64_t pass);
    // For a playback that went back: the checkpoints are looked for from the first again.
    void go_back() { next_ = 0; }

private:
    const KeyScript& script_;
    size_t next_ = 0;
};

// 4200 as "4,200".
std::string grouped_number(int64_t number);

}  // namespace grotmere
