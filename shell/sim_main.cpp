// grotmere-sim: the headless game, driven by a key script (see shell/simulator.hpp).
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "base/command_line.hpp"
#include "base/safe_file.hpp"
#include "shell/simulator.hpp"

int main(int argc, char** argv) try {
    const grotmere::SimArgs parsed =
        grotmere::parse_sim_args(std::vector<std::string>(argv + 1, argv + argc));
    if (auto done = grotmere::answer_before_running(grotmere::sim_command_line(), parsed.action,
                                                    parsed.usage_error))
        return *done;
    return grotmere::run_simulator(parsed.options, std::cin);
} catch (const std::filesystem::filesystem_error& error) {
    // No program ends on an abort for a file it could not handle.
    std::fprintf(stderr, "grotmere-sim: %s\n", grotmere::file_system_failure(error).c_str());
    return grotmere::kExitFailure;
}
