// grotmere-sim: the headless game, driven by a key script (see shell/simulator.hpp).
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "shell/simulator.hpp"

namespace {

const char* const kUsage =
    "usage: grotmere-sim [--dir DIR] [--seed N] [--keys FILE] [--passes N] [--dump FILE]\n"
    "                    [--screenshot FILE] [--classic] [--record FILE] [--morgue FILE]\n"
    "                    [--check-contracts]\n"
    "       grotmere-sim --check [--dir DIR]\n"
    "       grotmere-sim --help\n";

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    grotmere::SimArgs parsed = grotmere::parse_sim_args(args);
    if (parsed.usage_error) {
        std::fprintf(stderr, "grotmere-sim: %s\n%s", parsed.usage_error->c_str(), kUsage);
        return grotmere::kUsageError;
    }
    return grotmere::run_simulator(parsed.options, std::cin);
}
