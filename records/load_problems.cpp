#include "records/load_problems.hpp"

#include <cstdio>

#include "base/text.hpp"

namespace grotmere {

LoadProblems load_problems;

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
