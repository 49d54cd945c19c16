#include "files/kept_state.hpp"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "base/byte_stream.hpp"
#include "base/fnv_hash.hpp"
#include "base/safe_file.hpp"
#include "files/unfinished_game.hpp"
#include "replay/game_snapshot.hpp"
#include "replay/playback.hpp"
#include "replay/recording.hpp"
#include "replay/state_digest.hpp"

namespace grotmere {

namespace {

constexpr std::string_view kMagic = "grotmere kept state\n";
constexpr uint64_t kFormat = 1;
// The state of the largest map takes half a megabyte.
constexpr size_t kLargestFile = size_t{64} << 20;

uint64_t fingerprint(std::string_view bytes) {
    Fnv1a hash;
    hash.add(bytes.data(), bytes.size());
    return hash.value();
}

void write(const std::string& recording, const KeptState& kept) {
    std::string failure;
    if (replace_file(kept_state_path(recording), kept_state_bytes(kept), failure)) return;
    std::fprintf(stderr,
                 "grotmere: warning: the game's state is not kept beside its recording (%s); "
                 "continuing it plays the recording from its start\n",
                 failure.c_str());
}

const Checkpoint* checkpoint_at(const KeyScript& script, int64_t pass) {
    const auto& checkpoints = script.checkpoints;
    auto found = std::lower_bound(
        checkpoints.begin(), checkpoints.end(), pass,
        [](const Checkpoint& checkpoint, int64_t at) { return checkpoint.pass < at; });
    return found != checkpoints.end() && found->pass == pass ? &*found : nullptr;
}

// Why the kept state cannot stand for the recording's first passes, or none.
std::optional<std::string> not_this_recording(const UnfinishedGame& game, const KeptState& kept) {
    const std::string_view text = game.kept_text;
    if (kept.recording_length > text.size() || kept.recording_length == 0 ||
        text[kept.recording_length - 1] != '\n' ||
        fingerprint(text.substr(0, kept.recording_length)) != kept.recording_fingerprint)
        return "it was kept beside another recording, or an earlier one of this name";
    if (!knows_digest(game.script.digest_version) ||
        checkpoint_at(game.script, kept.passes) == nullptr)
        return "the recording has no checkpoint to check it by";
    return std::nullopt;
}

}  // namespace

std::string kept_state_path(const std::string& recording) {
    return recording + ".state";
}

std::string kept_state_bytes(const KeptState& kept) {
    ByteWriter out;
    out.raw(kMagic);
    out.unsigned_number(kFormat);
    out.unsigned_number(static_cast<uint64_t>(kept.passes));
    out.unsigned_number(static_cast<uint64_t>(kept.turns));
    out.unsigned_number(kept.recording_length);
    out.word(kept.recording_fingerprint);
    out.text(kept.state);
    out.word(fingerprint(out.bytes()));
    return out.take();
}

std::optional<KeptState> read_kept_state(std::string_view bytes) {
    if (bytes.size() < 8 || fingerprint(bytes.substr(0, bytes.size() - 8)) !=
                                ByteReader(bytes.substr(bytes.size() - 8)).word())
        return std::nullopt;
    ByteReader in(bytes.substr(0, bytes.size() - 8));
    KeptState kept;
    const bool ours = in.raw(kMagic.size()) == kMagic && in.unsigned_number() == kFormat;
    kept.passes = static_cast<int64_t>(in.count(kMostScriptPasses));
    kept.turns = static_cast<int64_t>(in.count(kMostScriptPasses));
    kept.recording_length = in.count(kLargestKeyScript);
    kept.recording_fingerprint = in.word();
    kept.state = in.text(in.left());
    if (!ours || in.failed() || !in.at_end()) return std::nullopt;
    return kept;
}

void keep_state_beside(const GameRecorder& recorder, int64_t turns) {
    // Written on, or closed whole: the fingerprint is that of the file.
    const bool whole = recorder.recording() || recorder.written_path();
    if (!whole || recorder.checked_pass() != recorder.passes()) return;
    write(recorder.path(), KeptState{recorder.passes(), turns, recorder.written_length(),
                                     recorder.written_fingerprint(), game_state_bytes()});
}

void keep_state_beside(const UnfinishedGame& game, int64_t turns) {
    const KeptState kept{game.script.passes, turns, game.kept_text.size(),
                         fingerprint(game.kept_text), game_state_bytes()};
    if (!not_this_recording(game, kept)) write(game.recording, kept);
}

bool go_to_kept_state(const UnfinishedGame& game, Playback& playback, std::string& why) {
    why.clear();
    const std::string path = kept_state_path(game.recording);
    std::string problem;
    const std::optional<std::string> bytes = read_small_file(path, kLargestFile, problem);
    if (bytes && bytes->empty()) return false;
    std::optional<KeptState> kept;
    if (bytes) kept = read_kept_state(*bytes);
    if (!kept) {
        why = bytes ? "it is no whole kept state" : "it " + problem;
        return false;
    }
    if (auto wrong = not_this_recording(game, *kept)) {
        why = *wrong;
        return false;
    }
    const std::string fresh = game_state_bytes();
    if (auto failure = put_back_game_state(kept->state)) {
        why = *failure;
        return false;
    }
    if (state_digest_of_version(game.script.digest_version) !=
        checkpoint_at(game.script, kept->passes)->digest) {
        put_back_game_state(fresh);
        why = "its state is not the one the recording checks at its pass";
        return false;
    }
    playback.go_to(
        Playback::Place{ScriptCursor::Place{static_cast<size_t>(kept->recording_length), 0},
                        PassResult{}, kept->passes, kept->turns});
    return true;
}

void forget_kept_state(const std::string& recording) {
    ::unlink(kept_state_path(recording).c_str());
}

}  // namespace grotmere
