// grotmere-sim: the game's own start-up and main loop on the headless backend, driven by a key
// script, ending with an optional screenshot and state dump. Its options are declared once, in
// sim_command_line.
//
// --classic leaves out the window's aids (side panel, help, history): the pictures are then the
// game's own, nothing around them. --record writes the run's recording, --morgue its morgue file,
// as the window does.
//
// --check-contracts checks, as the tests do, every promise the fast paths rest on while the game
// plays (platform/platform.hpp, contracts_checked), and stops with an error at the first broken
// one; the game, its outputs and its standard output are the same with it and without.
//
// --check plays nothing: it reads the data in DIR as start-up does and prints every problem a
// content author made (check/content_check.hpp) as "file:line: message", exit status 1 when there
// was one, else 0.
//
// --keys verifies a recording's checkpoints ("check PASS DIGEST" lines) as it plays and stops at
// the first the game's state does not meet.
//
// Exit status: 0 when the game ran, whatever ended it; 2 for a usage error; the game's own status
// when its start-up fails; 1 when the screenshot, dump or morgue file cannot be written; 3 when a
// recording's checkpoint is not met.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "base/command_line.hpp"

namespace grotmere {

struct SimOptions {
    // Without --dir, the working directory when it holds bifs/, else an installed game's data.
    std::optional<std::string> dir;
    // The key script's own seed stands when none is given here; without either it is 1.
    std::optional<int32_t> seed;
    std::optional<std::string> keys_file;  // "-" reads standard input
    std::optional<int64_t> passes;         // exactly this many passes instead of the script's
    std::optional<std::string> dump_file;
    std::optional<std::string> screenshot_file;
    // The run's own recording, as the window writes one.
    std::optional<std::string> record_file;
    // A morgue file at the end, as the window writes one at every end.
    std::optional<std::string> morgue_file;
    bool classic = false;
    bool check = false;  // check the data instead of playing
    bool check_contracts = false;
};

struct SimArgs {
    CommandLine::Action action = CommandLine::Action::Run;
    SimOptions options;
    std::optional<std::string> usage_error;
};

const ProgramOptions& sim_command_line();
SimArgs parse_sim_args(const std::vector<std::string>& args);

// `input` stands in for standard input when the key script is "-". The process's working
// directory is the same after the run as before it.
int run_simulator(const SimOptions& options, std::istream& input);

}  // namespace grotmere
