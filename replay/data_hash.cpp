#include "replay/data_hash.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "base/fnv_hash.hpp"

namespace grotmere {

namespace {

std::vector<std::filesystem::path> files_under(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_regular_file(error)) files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The game drops a carriage return wherever it stands in a data file, so a copy with CR LF line
// ends is the same data and hashes the same.
void add_without_returns(Fnv1a& hash, const char* data, size_t size) {
    size_t start = 0;
    for (size_t i = 0; i <= size; ++i) {
        if (i < size && data[i] != '\r') continue;
        hash.add(data + start, i - start);
        start = i + 1;
    }
}

}  // namespace

std::string data_files_hash(const std::string& folder) {
    Fnv1a hash;
    std::vector<char> buffer(1 << 16);
    for (const std::filesystem::path& file : files_under(folder)) {
        const std::string name = file.lexically_relative(folder).generic_string();
        hash.add(name.c_str(), name.size() + 1);
        std::ifstream in(file, std::ios::binary);
        while (in) {
            in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            add_without_returns(hash, buffer.data(), static_cast<size_t>(in.gcount()));
        }
    }
    return hash.hex();
}

}  // namespace grotmere
