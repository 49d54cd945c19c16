// Problems found while reading definition files. They are values with file and line, gathered
// while a file (and everything it includes) is read, then reported together: each as one line on
// standard error, and kept in `load_problems` for whoever wants to read them (tests do). Nothing
// here ever goes to standard output, which carries only the game's own diagnostic lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace grotmere {

struct LoadProblem {
    std::string file;
    int32_t line = 0;  // 1 for the first line of the file; 0 for the file as a whole
    std::string message;

    // "bifs/player.bif:12: warning: unknown record type "TFoo"; skipped up to its "}""
    std::string to_text() const;
};

using LoadProblems = std::vector<LoadProblem>;

// Every problem reported since the world was last reset (reset_world clears it).
extern LoadProblems load_problems;

// Writes every problem to standard error and appends it to `load_problems`.
void report_load_problems(const LoadProblems& problems);

}  // namespace grotmere
