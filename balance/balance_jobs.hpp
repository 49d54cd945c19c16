// Many seeds measured in several processes at once, with the same result as in one: each seed's
// measure is a line of text that depends on the seed alone, the jobs take every J-th seed each
// and write their lines to files of their own, and the lines are put back in seed order.
// Processes, not threads: a game's world is program-wide, one per process.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace grotmere {

// The lines of `measure` for the seeds 1 to `count`, in that order, run in `jobs` processes
// (forked, so each starts with the caller's state) with their files under `scratch`. A job that
// fails leaves its seeds' lines empty.
std::vector<std::string> lines_of_seeds(int32_t count, int32_t jobs,
                                        const std::function<std::string(int32_t)>& measure,
                                        const std::filesystem::path& scratch);

}  // namespace grotmere
