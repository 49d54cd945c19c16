#include "base/text_file.hpp"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace grotmere {

std::string TextFile::read_line() {
    std::string scratch;
    const std::string_view line = read_line_view(scratch);
    if (line.data() == scratch.data()) return scratch;
    return std::string(line);
}

std::string_view TextFile::read_line_view(std::string& scratch) {
    const size_t start = std::min(position_, bytes_.size());
    // The line feed is searched first, then a NUL before it; memchr reads many bytes at a step,
    // where a loop testing each byte for both was the costliest part of reading a large map.
    const char* const line_start = bytes_.data() + start;
    size_t length = bytes_.size() - start;
    const auto cut_at = [&](char end_byte) {
        const void* found = length > 0 ? std::memchr(line_start, end_byte, length) : nullptr;
        if (found) length = static_cast<size_t>(static_cast<const char*>(found) - line_start);
    };
    cut_at('\n');
    cut_at('\0');
    const size_t end = start + length;
    ended_at_nul_ = end < bytes_.size() && bytes_[end] == '\0';
    position_ = end < bytes_.size() ? end + 1 : end;
    std::string_view line(bytes_.data() + start, end - start);
    // Carriage returns are rare; only a line holding one pays for a copy without them.
    if (line.find('\r') == std::string_view::npos) return line;
    scratch.assign(line);
    std::erase(scratch, '\r');
    return scratch;
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
    // Read in one piece, the size known; a file that grew since it was measured is read on to
    // its end, and one that shrank keeps what was read.
    std::vector<char> bytes(static_cast<size_t>(size));
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));
    if (in.bad()) return nullptr;
    if (!in.eof()) bytes.insert(bytes.end(), std::istreambuf_iterator<char>(in), {});
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
