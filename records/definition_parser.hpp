// The definition format's one parser, and what a load shares with the files it includes: the
// loader (records/definition_loader.cpp) opens the files and hands their tokens here.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "base/text_file.hpp"
#include "records/definition_loader.hpp"
#include "records/definition_tokens.hpp"
#include "records/field_registry.hpp"

namespace grotmere {

// What one top-level load shares with the files it includes.
struct LoadContext {
    RecordList& list;
    LoadProblems& problems;
    std::vector<std::string> files_being_read;  // the include chain, as file identities
    int32_t includes_left = kMaxIncludedFiles;
    std::set<const TTypeId*> refused_types;  // rules-only types already warned about
    RecordOrigins* origins = nullptr;        // only for a caller that asked where records stand
};

// The folder the game runs in; includes may not reach outside it.
bool inside_working_folder(const std::string& path);
// Two spellings of one path ("bifs/a.bif", "./bifs/../bifs/a.bif") must meet in the cycle test.
std::string file_identity(const std::string& path);
// Null for a file that is missing, unreadable or too large (kUnopenable says so).
TextFileHandle open_definition_file(const std::string& path);
inline const char* const kUnopenable =
    "missing, unreadable or larger than a definition file may be";

// Parses one file's tokens into the context's list; includes are read on the way.
void load_tokens(LoadContext& context, const std::string& file, Tokens tokens);

}  // namespace grotmere
