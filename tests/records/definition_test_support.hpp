// Helpers for the record and loader tests: a fresh world per test, definition texts loaded from
// memory, and a scratch directory of data files that is removed again afterwards.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "records/definition_loader.hpp"
#include "records/field_registry.hpp"
#include "world/world_state.hpp"

namespace grotmere::testing {

class ScratchDir {
public:
    ScratchDir() {
        static std::atomic<int> counter{0};
        path_ =
            std::filesystem::temp_directory_path() /
            ("grotmere_records_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    // Writes the file and returns its full path.
    std::string write(const std::string& name, const std::string& text) const {
        std::filesystem::path file = path_ / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
        return file.string();
    }
    std::string path(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& root() const { return path_; }

private:
    std::filesystem::path path_;
};

// Runs in another working directory for the length of a scope.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::filesystem::path& dir)
        : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir);
    }
    ~WorkingDirectory() { std::filesystem::current_path(previous_); }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    std::filesystem::path previous_;
};

class RecordTest : public ::testing::Test {
protected:
    void SetUp() override { reset_world(); }
    void TearDown() override { reset_world(); }

    // Loads the text as the file "test.bif" into `records`; the problems land in `problems`.
    void load(const std::string& text) {
        problems = read_definitions_from_bytes(records, "test.bif",
                                               std::vector<char>(text.begin(), text.end()));
    }

    template <class T>
    std::shared_ptr<T> record(int32_t index) {
        std::vector<RecordRef> all = records.records();
        if (index < 0 || index >= static_cast<int32_t>(all.size())) return nullptr;
        return std::dynamic_pointer_cast<T>(all[index]);
    }

    int32_t count() const { return records.count(); }

    // True when some problem is on this line and its message holds the text.
    bool has_problem(int32_t line, const std::string& part) const {
        for (const LoadProblem& problem : problems) {
            if (problem.line == line && problem.message.find(part) != std::string::npos)
                return true;
        }
        return false;
    }

    std::string problem_texts() const {
        std::string all;
        for (const LoadProblem& problem : problems)
            all += problem.to_text() + "\n";
        return all;
    }

    RecordList records;
    LoadProblems problems;
};

}  // namespace grotmere::testing
