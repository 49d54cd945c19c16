#include "shell/data_hash.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

namespace grotmere {

namespace {

class Fnv1a {
public:
    void add(const char* data, size_t size) {
        for (size_t i = 0; i < size; ++i) {
            value_ ^= static_cast<unsigned char>(data[i]);
            value_ *= 0x100000001b3ULL;
        }
    }
    std::string hex() const {
        char text[17];
        std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value_));
        return text;
    }

private:
    uint64_t value_ = 0xcbf29ce484222325ULL;
};

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
            hash.add(buffer.data(), static_cast<size_t>(in.gcount()));
        }
    }
    return hash.hex();
}

}  // namespace grotmere
