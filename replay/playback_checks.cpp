#include "replay/playback_checks.hpp"

#include "replay/data_hash.hpp"
#include "replay/state_digest.hpp"

namespace grotmere {

std::vector<std::string> playback_warnings(const KeyScript& script, const std::string& path,
                                           bool seed_given) {
    std::vector<std::string> warnings;
    if (script.data_hash && *script.data_hash != data_files_hash("bifs")) {
        warnings.push_back(path +
                           " was played on other data files; it may not play back as it was "
                           "played");
    }
    if (script.data_hash && !script.seed && !seed_given) {
        warnings.push_back(path +
                           " names no seed (its \"seed\" line is missing); it is played "
                           "with seed 1");
    }
    if (!script.checkpoints.empty() && !knows_digest(script.digest_version)) {
        warnings.push_back(path + "'s checkpoints carry digest " +
                           std::to_string(script.digest_version) +
                           ", which this build does not know; they are not checked");
    }
    if (script.cut_at_line) {
        warnings.push_back(path + " ends inside line " + grouped_number(*script.cut_at_line) +
                           " (a file cut short); it is played up to the line before");
    }
    return warnings;
}

std::optional<std::string> CheckpointVerifier::after_pass(int64_t pass) {
    const std::vector<Checkpoint>& checkpoints = script_.checkpoints;
    while (next_ < checkpoints.size() && checkpoints[next_].pass < pass)
        ++next_;
    if (next_ >= checkpoints.size() || checkpoints[next_].pass != pass) return std::nullopt;
    const Checkpoint& checkpoint = checkpoints[next_++];
    const std::optional<uint64_t> known = state_digest_of_version(script_.digest_version);
    if (!known) return std::nullopt;
    const uint64_t digest = *known;
    if (digest == checkpoint.digest) return std::nullopt;
    return "recording diverges at pass " + grouped_number(pass) +
           ": the game's state is not the one recorded (digest " + digest_text(digest) + ", the " +
           "recording's line " + grouped_number(checkpoint.line) + " says " +
           digest_text(checkpoint.digest) + ")";
}

std::string grouped_number(int64_t number) {
    std::string digits = std::to_string(number < 0 ? -number : number);
    for (int64_t at = static_cast<int64_t>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<size_t>(at), ",");
    return number < 0 ? "-" + digits : digits;
}

}  // namespace grotmere
