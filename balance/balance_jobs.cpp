#include "balance/balance_jobs.hpp"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

namespace grotmere {

namespace fs = std::filesystem;

namespace {

fs::path job_file(const fs::path& scratch, int32_t job) {
    return scratch / ("job-" + std::to_string(job) + ".txt");
}

// One job's seeds, each line prefixed by its seed.
void run_job(int32_t count, int32_t jobs, int32_t job,
             const std::function<std::string(int32_t)>& measure, const fs::path& file) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    for (int32_t seed = job + 1; seed <= count; seed += jobs)
        out << seed << ' ' << measure(seed) << '\n';
}

void read_job(const fs::path& file, std::vector<std::string>& lines) {
    std::ifstream in(file, std::ios::binary);
    int32_t seed = 0;
    std::string line;
    while (in >> seed && std::getline(in, line))
        if (seed >= 1 && seed <= int32_t(lines.size())) lines[size_t(seed - 1)] = line.substr(1);
}

}  // namespace

std::vector<std::string> lines_of_seeds(int32_t count, int32_t jobs,
                                        const std::function<std::string(int32_t)>& measure,
                                        const fs::path& scratch) {
    std::vector<std::string> lines(size_t(std::max(0, count)));
    if (jobs <= 1) {
        for (int32_t seed = 1; seed <= count; ++seed)
            lines[size_t(seed - 1)] = measure(seed);
        return lines;
    }
    fs::create_directories(scratch);
    std::fflush(nullptr);  // nothing buffered is written twice
    std::vector<pid_t> children;
    for (int32_t job = 0; job < jobs; ++job) {
        const pid_t child = ::fork();
        if (child == 0) {
            run_job(count, jobs, job, measure, job_file(scratch, job));
            std::fflush(nullptr);
            ::_exit(0);
        }
        if (child > 0) children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
    }
    for (int32_t job = 0; job < jobs; ++job)
        read_job(job_file(scratch, job), lines);
    return lines;
}

}  // namespace grotmere
