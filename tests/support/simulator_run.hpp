// grotmere-sim run as a separate program on the shipped data, each test in a folder of its own:
// its exit status and standard output, the dump as JSON, the screenshot as a framebuffer.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "platform/canvas.hpp"
#include "platform/png_writer.hpp"

namespace grotmere::testing {

namespace fs = std::filesystem;

struct SimRun {
    int status = -1;
    std::string out;
};

// Runs a shell command; its exit status and standard output.
inline SimRun run_command(const std::string& command) {
    SimRun result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return result;
    std::array<char, 4096> buffer{};
    for (size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        result.out.append(buffer.data(), n);
    const int raw = ::pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return result;
}

class SimulatorRun : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("grotmere_sim_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path write(const std::string& name, const std::string& text) {
        fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    // Runs the simulator on the shipped data; standard error is discarded.
    SimRun run(const std::string& arguments) { return run_with(arguments, " 2>/dev/null"); }

    // Runs the simulator and returns what it wrote to standard error, with its status.
    SimRun run_for_errors(const std::string& arguments) {
        return run_with(arguments, " 2>&1 >/dev/null");
    }

    // The contract checks are on, as everywhere in the tests, unless `checks` is false.
    SimRun run_with(const std::string& arguments, const std::string& redirection,
                    bool checks = true) {
        return run_command(std::string(GROTMERE_SIM) + " --dir " + GROTMERE_SOURCE_DIR +
                           (checks ? " --check-contracts " : " ") + arguments + redirection);
    }

    std::string read(const fs::path& path) const {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    nlohmann::json dump() {
        std::ifstream in(dir_ / "d.json");
        return nlohmann::json::parse(in);
    }

    // The screenshot of the last run; an empty picture when there is none.
    Framebuffer screenshot() {
        Framebuffer shot(820, 470);
        std::string error;
        if (!read_png((dir_ / "s.png").string(), shot, &error)) return Framebuffer(0, 0);
        return shot;
    }

    // Runs a key script given as text, with dump and screenshot.
    SimRun run_keys(const std::string& keys, const std::string& more = "") {
        fs::path script = write("keys", keys);
        return run("--keys " + script.string() + " " + out_args() + " " + more);
    }

    std::string out_args() {
        return "--dump " + (dir_ / "d.json").string() + " --screenshot " +
               (dir_ / "s.png").string();
    }

    fs::path dir_;
};

}  // namespace grotmere::testing
