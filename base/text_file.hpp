// Read-only text files, read the way every data file of the game is read: a line ends at a line
// feed, at a NUL byte or at the end of the file; carriage returns are dropped wherever they stand;
// every other byte is one character. The game writes no file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace grotmere {

class TextFile {
public:
    explicit TextFile(std::vector<char> bytes) : bytes_(std::move(bytes)) {}

    // The next line without its end; the empty string at (and past) the end of the file.
    std::string read_line();
    // The same line as a view into the file, valid until the file goes; a line holding carriage
    // returns is copied into `scratch` without them, and the view shows the copy.
    std::string_view read_line_view(std::string& scratch);
    // True when the line read last ended at a NUL byte, not at a line feed or the file's end.
    bool line_ended_at_nul() const { return ended_at_nul_; }
    bool at_end() const { return position_ >= bytes_.size(); }
    int32_t byte_position() const { return static_cast<int32_t>(position_); }
    // Offsets outside the file are clamped to it.
    void seek(int32_t offset);

private:
    std::vector<char> bytes_;
    size_t position_ = 0;
    bool ended_at_nul_ = false;
};

using TextFileHandle = std::unique_ptr<TextFile>;

// None when the file cannot be opened or read. The path is relative to the working directory.
TextFileHandle open_text_file(const std::string& path);
std::string read_line(TextFile& file);
int32_t at_end(const TextFile& file);
int32_t byte_position(const TextFile& file);
void seek(TextFile& file, int32_t offset);
void close_file(TextFileHandle& file);

}  // namespace grotmere
