// grotmere-sim: the headless game, driven by a key script (see shell/simulator.hpp).
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "shell/simulator.hpp"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    grotmere::SimArgs parsed = grotmere::parse_sim_args(args);
    if (parsed.usage_error) {
        std::fprintf(stderr,
                     "grotmere-sim: %s\nusage: grotmere-sim [--dir DIR] [--seed N] [--keys FILE] "
                     "[--passes N] [--dump FILE] [--screenshot FILE] [--classic]\n"
                     "       [--record FILE] [--morgue FILE]\n"
                     "       grotmere-sim --check [--dir DIR]\n",
                     parsed.usage_error->c_str());
        return grotmere::kUsageError;
    }
    return grotmere::run_simulator(parsed.options, std::cin);
}
