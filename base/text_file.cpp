#include "base/text_file.hpp"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace grotmere {

std::string TextFile::read_line() {
    std::string line;
    ended_at_nul_ = false;
    while (position_ < bytes_.size()) {
        char c = bytes_[position_++];
        ended_at_nul_ = c == '\0';
        if (c == '\n' || c == '\0') break;
        if (c != '\r') line.push_back(c);
    }
    return line;
}

void TextFile::seek(int32_t offset) {
    position_ =
        static_cast<size_t>(std::clamp<int64_t>(offset, 0, static_cast<int64_t>(bytes_.size())));
}

TextFileHandle open_text_file(const std::string& path) {
    // Only regular files: a directory opens as a stream but cannot be read, and a device such as
    // /dev/zero would never end. Offsets are 32-bit, so a file must stay well below 2 GiB.
    constexpr uintmax_t kLargestFile = uintmax_t{256} << 20;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return nullptr;
    uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > kLargestFile) return nullptr;
    std::ifstream in(path, std::ios::binary);
    if (!in) return nullptr;
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return nullptr;
    return std::make_unique<TextFile>(std::move(bytes));
}

std::string read_line(TextFile& file) {
    return file.read_line();
}
int32_t at_end(const TextFile& file) {
    return file.at_end() ? 1 : 0;
}
int32_t byte_position(const TextFile& file) {
    return file.byte_position();
}
void seek(TextFile& file, int32_t offset) {
    file.seek(offset);
}
void close_file(TextFileHandle& file) {
    file.reset();
}

}  // namespace grotmere
