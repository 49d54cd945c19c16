#include "records/definition_loader.hpp"

#include <filesystem>
#include <system_error>
#include <utility>

#include "records/definition_parser.hpp"

namespace grotmere {

bool inside_working_folder(const std::string& path) {
    std::error_code error;
    const std::filesystem::path root = std::filesystem::current_path(error);
    if (error) return false;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(root / path, error);
    if (error) return false;
    const std::filesystem::path canonical_root = std::filesystem::weakly_canonical(root, error);
    if (error) return false;
    const std::filesystem::path relative = resolved.lexically_relative(canonical_root);
    return !relative.empty() && *relative.begin() != "..";
}

std::string file_identity(const std::string& path) {
    std::error_code error;
    std::filesystem::path canonical = std::filesystem::weakly_canonical(path, error);
    return error ? path : canonical.string();
}

// Definition files are small; refusing huge ones keeps a stray include of some large file from
// filling the memory with its tokens.
TextFileHandle open_definition_file(const std::string& path) {
    std::error_code error;
    uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > kLargestDefinitionFile) return nullptr;
    return open_text_file(path);
}

namespace {

LoadProblems load_from(RecordList& list, const std::string& name, TextFile& file, int32_t offset,
                       RecordOrigins* origins = nullptr) {
    LoadProblems problems;
    LoadContext context{.list = list,
                        .problems = problems,
                        .files_being_read = {file_identity(name)},
                        .refused_types = {},
                        .origins = origins};
    load_tokens(context, name, tokenise_definitions(file, offset));
    return problems;
}

LoadProblems read_file(RecordList& list, const std::string& file, int32_t offset,
                       RecordOrigins* origins) {
    TextFileHandle handle = open_definition_file(file);
    if (!handle) {
        return {
            {file, 0,
             "cannot open the file (" + std::string(kUnopenable) + "); nothing loaded from it"}};
    }
    LoadProblems problems = load_from(list, file, *handle, offset, origins);
    close_file(handle);
    return problems;
}

}  // namespace

LoadProblems read_definitions(RecordList& list, const std::string& file, int32_t offset) {
    return read_file(list, file, offset, nullptr);
}

LoadProblems read_definitions_traced(RecordList& list, const std::string& file, int32_t offset,
                                     RecordOrigins& origins) {
    return read_file(list, file, offset, &origins);
}

LoadProblems read_definitions_from_bytes(RecordList& list, const std::string& name,
                                         std::vector<char> bytes) {
    TextFile file(std::move(bytes));
    return load_from(list, name, file, 0);
}

int32_t load_definitions(RecordList& list, const std::string& file, int32_t offset) {
    report_load_problems(read_definitions(list, file, offset));
    return 0;
}

int32_t load_definitions(const ListRef& list, const std::string& file, int32_t offset) {
    if (list) load_definitions(*list, file, offset);
    return 0;
}

}  // namespace grotmere
