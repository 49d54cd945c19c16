#include "shell/load_problems.hpp"

#include <cstdio>

#include "shell/world_state.hpp"
#include "ui/text.hpp"

namespace grotmere {

std::string LoadProblem::to_text() const {
    // A problem with the whole file, such as one that cannot be opened, has no line.
    std::string place = line > 0 ? file + ":" + int_to_text(line) : file;
    return place + ": warning: " + message;
}

void report_load_problems(const LoadProblems& problems) {
    for (const LoadProblem& problem : problems) {
        std::string text = problem.to_text() + "\n";
        std::fwrite(text.data(), 1, text.size(), stderr);
        load_problems.push_back(problem);
    }
    std::fflush(stderr);
}

}  // namespace grotmere
