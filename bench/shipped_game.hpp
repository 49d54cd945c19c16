// What the benchmarks of whole games share: the player's keys, the shipped data folder as the
// working folder, and start-up's printing kept out of the figures.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "platform/key_codes.hpp"

namespace grotmere::bench {

// Walking in all directions, waiting, picking up, and the inventory's keys now and then.
constexpr int32_t kKeys[] = {key::kLeft,       key::kRight,      key::kUp,    key::kDown,
                             key::kLeft,       key::kRight,      key::kUp,    key::kDown,
                             key::letter('p'), key::letter('i'), key::kSpace, key::digit(1)};

class InShippedFolder {
public:
    InShippedFolder() : before_(std::filesystem::current_path()) {
        std::filesystem::current_path(GROTMERE_SOURCE_DIR);
    }
    ~InShippedFolder() { std::filesystem::current_path(before_); }
    InShippedFolder(const InShippedFolder&) = delete;
    InShippedFolder& operator=(const InShippedFolder&) = delete;

private:
    std::filesystem::path before_;
};

// Standard output goes nowhere while it lives.
class QuietOutput {
public:
    QuietOutput() : kept_(dup(STDOUT_FILENO)) {
        std::fflush(stdout);
        const int nowhere = open("/dev/null", O_WRONLY);
        dup2(nowhere, STDOUT_FILENO);
        close(nowhere);
    }
    ~QuietOutput() {
        std::fflush(stdout);
        dup2(kept_, STDOUT_FILENO);
        close(kept_);
    }
    QuietOutput(const QuietOutput&) = delete;
    QuietOutput& operator=(const QuietOutput&) = delete;

private:
    int kept_;
};

}  // namespace grotmere::bench
