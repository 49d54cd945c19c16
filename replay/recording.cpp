#include "replay/recording.hpp"

#include <cstdio>
#include <stdexcept>

#include "base/random.hpp"
#include "platform/keyboard.hpp"
#include "platform/platform.hpp"
#include "replay/key_script.hpp"
#include "replay/state_digest.hpp"
#include "world/world_state.hpp"

namespace grotmere {

bool GameRecorder::open(WrittenFile file, int32_t seed, const std::string& build,
                        const std::string& data_hash, StateDigest digest,
                        const std::string& dungeon) {
    close();
    file_ = std::move(file);
    failed_ = false;
    closed_whole_ = false;
    digest_ = std::move(digest);
    passes_ = 0;
    checked_pass_ = -1;
    written_length_ = 0;
    written_ = Fnv1a();
    last_digest_.reset();
    if (!file_.is_open()) {
        std::fprintf(stderr, "grotmere: warning: no recording: %s\n", file_.failure().c_str());
        failed_ = true;
        return false;
    }
    pending_ = "seed " + std::to_string(seed) + "\n# " + build + ", data " + data_hash + "\n";
    if (!dungeon.empty()) pending_ += "# dungeon: " + dungeon + "\n";
    if (digest_) pending_ += digest_version_line() + "\n";
    // A recording that replaces another takes its place at once, so a crash leaves the new one.
    flush();
    if (recording() && !file_.publish()) give_up();
    return recording();
}

bool GameRecorder::resume(WrittenFile file, const std::string& kept, int64_t passes,
                          int64_t checked, StateDigest digest) {
    close();
    file_ = std::move(file);
    failed_ = false;
    closed_whole_ = false;
    digest_ = std::move(digest);
    passes_ = passes;
    checked_pass_ = checked;
    written_length_ = 0;
    written_ = Fnv1a();
    last_digest_.reset();
    if (!file_.is_open()) {
        std::fprintf(stderr, "grotmere: warning: the recording cannot go on: %s\n",
                     file_.failure().c_str());
        failed_ = true;
        return false;
    }
    pending_ = kept;
    flush();
    if (recording() && !file_.publish()) give_up();
    return recording();
}

void GameRecorder::add(const std::string& word) {
    if (!line_.empty()) line_ += ' ';
    line_ += word;
}

void GameRecorder::pressed(int32_t code) {
    const std::string word = key_word_for(code);
    add("+" + word);
    last_press_ = word;
}

// A press followed at once by its release is the script's plain hit.
void GameRecorder::released(int32_t code) {
    const std::string word = key_word_for(code);
    const std::string press = "+" + word;
    if (last_press_ == word && line_.size() >= press.size() &&
        line_.compare(line_.size() - press.size(), press.size(), press) == 0) {
        line_.replace(line_.size() - press.size(), press.size(), word);
    } else {
        add("-" + word);
    }
    last_press_.clear();
}

void GameRecorder::focus_changed() {
    add("focus");
    last_press_.clear();
}

void GameRecorder::close_requested() {
    if (leave_out_closes_) return;
    add("close");
    last_press_.clear();
}

void GameRecorder::write_pending_empty_passes() {
    if (empty_passes_ == 1) pending_ += "\n";
    if (empty_passes_ > 1) pending_ += "pass " + std::to_string(empty_passes_) + "\n";
    empty_passes_ = 0;
}

// Keys that pile up during a stall can fill more than a line may hold: the pass then goes on in
// the next line, each line ending in " \" but the last, none longer than a reader takes.
void GameRecorder::write_pass_line() {
    constexpr size_t kRoom = kLongestScriptLine - 2;
    size_t start = 0;
    while (line_.size() - start > kLongestScriptLine) {
        const size_t cut = line_.rfind(' ', start + kRoom);
        if (cut == std::string::npos || cut <= start) break;  // no word is near that long
        pending_.append(line_, start, cut - start);
        pending_ += " \\\n";
        start = cut + 1;
    }
    pending_.append(line_, start);
    pending_ += '\n';
}

void GameRecorder::write_checkpoint() {
    if (!digest_ || checked_pass_ == passes_) return;
    write_pending_empty_passes();
    pending_ += checkpoint_line(passes_, checkpoint_digest()) + "\n";
    checked_pass_ = passes_;
}

GameRecorder::Stillness GameRecorder::stillness() {
    return Stillness{keyboard().version(), message_history.version(), buff_changes, random_state(),
                     missiles->empty()};
}

uint64_t GameRecorder::checkpoint_digest() {
    const Stillness now = stillness();
    if (last_digest_ && now.no_missiles && now == last_digest_->first) {
        if (contracts_checked() && digest_() != last_digest_->second)
            throw std::logic_error(
                "the game changed while it stood still: no key, line, effect, "
                "random number or missile moved");
        return last_digest_->second;
    }
    last_digest_.emplace(now, digest_());
    return last_digest_->second;
}

void GameRecorder::end_pass() {
    if (!recording()) return;
    ++passes_;
    if (line_.empty()) {
        ++empty_passes_;
    } else {
        write_pending_empty_passes();
        write_pass_line();
    }
    line_.clear();
    last_press_.clear();
    if (passes_ % kPassesPerFlush != 0) return;
    write_checkpoint();
    write_pending_empty_passes();
    flush();
}

void GameRecorder::write_out() {
    flush();
}

// Each write reaches the disk before the game goes on, so a power cut loses at most the passes
// since the last one.
void GameRecorder::flush() {
    if (!recording() || pending_.empty()) return;
    if (!file_.append(pending_) || !file_.sync()) {
        give_up();
    } else {
        written_length_ += pending_.size();
        written_.add(pending_.data(), pending_.size());
    }
    pending_.clear();
}

bool GameRecorder::close() {
    if (!recording()) return false;
    if (!line_.empty()) end_pass();
    write_pending_empty_passes();
    write_checkpoint();
    flush();
    if (recording() && !file_.finish()) give_up();
    closed_whole_ = !failed_;
    return closed_whole_;
}

std::optional<std::string> GameRecorder::written_path() const {
    if (!closed_whole_) return std::nullopt;
    return file_.path();
}

void GameRecorder::give_up() {
    if (failed_) return;
    failed_ = true;
    std::fprintf(stderr, "grotmere: warning: the recording stops here: %s\n",
                 file_.failure().c_str());
    file_ = WrittenFile();
}

std::string checkpoint_line(int64_t pass, uint64_t digest) {
    return "check " + std::to_string(pass) + " " + digest_text(digest);
}

}  // namespace grotmere
