// The record loader: reads a definition file (item and monster prototypes, key bindings, the
// player, the map file's record section) and appends the records it describes to a list, in the
// order their closing braces stand in the file, an included file's records at the point of the
// include. Whatever the bytes, loading ends: mistakes become LoadProblems with file and line, the
// rest of the file still loads, and nothing is thrown to the caller.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "records/load_problems.hpp"
#include "records/record_list.hpp"

namespace grotmere {

// The game's entry. `file` is relative to the working directory; with `offset` above 0 reading
// starts at that byte. Problems go to standard error and into `load_problems`. Returns 0.
int32_t load_definitions(RecordList& list, const std::string& file, int32_t offset);
int32_t load_definitions(const ListRef& list, const std::string& file, int32_t offset);

// As load_definitions, but hands the problems back instead of reporting them.
LoadProblems read_definitions(RecordList& list, const std::string& file, int32_t offset);

// Where a record was written: its file (an included one, if so) and the line of its "{". Every
// copy a list value makes has the line of the record it was copied from. Warnings about records
// found later (a spawn naming no monster) and the content check name these places.
struct RecordOrigin {
    RecordRef record;
    std::string file;
    int32_t line = 0;
};
using RecordOrigins = std::vector<RecordOrigin>;

// As read_definitions, and notes in `origins`, in list order, where each appended record stands.
LoadProblems read_definitions_traced(RecordList& list, const std::string& file, int32_t offset,
                                     RecordOrigins& origins);

// Loads definitions held in memory; `name` stands for the file in problems. Includes in the
// bytes still open files relative to the working directory.
LoadProblems read_definitions_from_bytes(RecordList& list, const std::string& name,
                                         std::vector<char> bytes);

// How deep includes may nest, and how many files one load may include in all: a file that
// includes another many times over, level after level, must not take for ever.
inline constexpr int32_t kMaxIncludeDepth = 16;
inline constexpr int32_t kMaxIncludedFiles = 256;
inline constexpr uintmax_t kLargestDefinitionFile = uintmax_t{16} << 20;
// Warnings about one file beyond this many are only counted.
inline constexpr int32_t kMostWarningsPerFile = 100;

}  // namespace grotmere
