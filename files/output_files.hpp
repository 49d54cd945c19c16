// Where the files a game writes about itself go (its recording and its morgue file), and which
// files named on a command line they may replace: a recording or a morgue file of this game, or
// a name that is free; never a data file under the data folder's bifs/, a link, a folder, or a
// file of anything else.
#pragma once

#include <optional>
#include <string>

#include "base/safe_file.hpp"

namespace grotmere {

enum class OutputKind { Recording, Morgue };

struct OutputTarget {
    OutputKind kind = OutputKind::Recording;
    // A file named on the command line, replaced as a whole when the game writes it ...
    std::string path;
    // ... else the first free name FOLDER/STEM.EXT, FOLDER/STEM-2.EXT, ... made exclusively.
    std::string folder;
    std::string stem;
};

inline OutputTarget named_output(OutputKind kind, std::string path) {
    OutputTarget target;
    target.kind = kind;
    target.path = std::move(path);
    return target;
}

// ".keys" or ".txt".
std::string output_extension(OutputKind kind);

WrittenFile open_output(const OutputTarget& target);

// Why the file named `path` must not be written: it lies in the data folder's bifs/, or it
// exists and is no regular file or no file of that kind of ours. None when it may be.
std::optional<std::string> refusal_to_write(const std::string& path, OutputKind kind,
                                            const std::string& data_folder);

// Whether two names given for outputs are one file (the one written last would stand alone).
bool same_output(const std::string& first, const std::string& second);

}  // namespace grotmere
