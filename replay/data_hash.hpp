// A fingerprint of the data a game is played on: every file under the data folder, by relative
// path and content, in name order. A recording names it, so a playback on other data can warn.
#pragma once

#include <string>

namespace grotmere {

// Sixteen hex digits (64-bit FNV-1a); the hash of nothing when the folder cannot be read.
std::string data_files_hash(const std::string& folder);

}  // namespace grotmere
