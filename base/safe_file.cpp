#include "base/safe_file.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace grotmere {

namespace {

constexpr int kHighestNumber = 999;

std::string reason(int error) {
    return std::strerror(error);
}

// Never follows a link and never opens a name that exists.
int open_exclusive(const std::string& path) {
    int fd;
    do {
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

std::string folder_of(const std::string& path) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

// The browser's files reach its storage when the page saves them all (every two seconds and when
// it is hidden): a sync there would save them all in the middle of a pass, and is left out.
int sync_descriptor(int fd) {
#ifdef __EMSCRIPTEN__
    (void)fd;
    return 0;
#endif
    int result;
    do {
        result = ::fsync(fd);
    } while (result != 0 && errno == EINTR);
    return result;
}

// A file's new name lasts a power cut only once its folder is on the disk too. A folder that
// cannot be synced (some file systems refuse) costs nothing but that promise.
void sync_folder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    sync_descriptor(fd);
    ::close(fd);
}

}  // namespace

WrittenFile::WrittenFile(int fd, std::string path, std::string temporary)
    : fd_(fd), path_(std::move(path)), temporary_(std::move(temporary)) {}

WrittenFile WrittenFile::failed(std::string failure) {
    WrittenFile file;
    file.failure_ = std::move(failure);
    return file;
}

WrittenFile::~WrittenFile() {
    // A replacement never published is left out: the file it was to replace stays as it was.
    close_descriptor();
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

WrittenFile::WrittenFile(WrittenFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      path_(std::move(other.path_)),
      temporary_(std::exchange(other.temporary_, {})),
      size_(other.size_),
      failure_(std::move(other.failure_)) {}

WrittenFile& WrittenFile::operator=(WrittenFile&& other) noexcept {
    if (this == &other) return *this;
    close_descriptor();
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    fd_ = std::exchange(other.fd_, -1);
    path_ = std::move(other.path_);
    temporary_ = std::exchange(other.temporary_, {});
    size_ = other.size_;
    failure_ = std::move(other.failure_);
    return *this;
}

void WrittenFile::close_descriptor() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

void WrittenFile::fail(const std::string& what, const std::string& name, int error) {
    if (failure_.empty()) failure_ = what + " " + name + ": " + reason(error);
    close_descriptor();
}

bool WrittenFile::append(std::string_view text) {
    if (fd_ < 0) return false;
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t wrote = ::write(fd_, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) {
            const int error = wrote < 0 ? errno : ENOSPC;
            // Whatever part went in is taken back, so the file never ends inside a text.
            if (done > 0 && ::ftruncate(fd_, size_) == 0) ::lseek(fd_, size_, SEEK_SET);
            fail("cannot write", path_, error);
            return false;
        }
        done += static_cast<size_t>(wrote);
    }
    size_ += static_cast<long long>(done);
    return true;
}

bool WrittenFile::sync() {
    if (fd_ < 0) return false;
    if (sync_descriptor(fd_) == 0) return true;
    fail("cannot write", path_, errno);
    return false;
}

// The text is on the disk before the name is, so a power cut leaves the old file or the new one.
bool WrittenFile::publish() {
    if (temporary_.empty()) return fd_ >= 0;
    if (!sync()) return false;
    if (::rename(temporary_.c_str(), path_.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary_.c_str());
        temporary_.clear();
        fail("cannot replace", path_, error);
        return false;
    }
    temporary_.clear();
    sync_folder(folder_of(path_));
    return true;
}

bool WrittenFile::finish() {
    if (fd_ < 0) return false;
    const bool replacing = !temporary_.empty();
    if (!replacing && !sync()) return false;
    if (!publish()) return false;
    // A new file's name, like a replacement's, lasts only once its folder is written.
    if (!replacing) sync_folder(folder_of(path_));
    const int fd = std::exchange(fd_, -1);
    if (::close(fd) != 0) {
        fail("cannot write", path_, errno);
        return false;
    }
    return true;
}

std::string make_folders(const std::string& folder) {
    if (folder.empty()) return {};
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!error) return {};
    return "cannot make the folder " + folder + ": " + error.message();
}

WrittenFile create_new_file(const std::string& path) {
    if (std::string failure = make_folders(folder_of(path)); !failure.empty())
        return WrittenFile::failed(failure);
    const int fd = open_exclusive(path);
    if (fd < 0) return WrittenFile::failed("cannot create " + path + ": " + reason(errno));
    return WrittenFile(fd, path, {});
}

WrittenFile create_unique_file(const std::string& folder, const std::string& stem,
                               const std::string& extension) {
    if (std::string failure = make_folders(folder); !failure.empty())
        return WrittenFile::failed(failure);
    for (int number = 1; number <= kHighestNumber; ++number) {
        const std::string suffix = number == 1 ? "" : "-" + std::to_string(number);
        const std::string path = folder + "/" + stem + suffix + extension;
        const int fd = open_exclusive(path);
        if (fd >= 0) return WrittenFile(fd, path, {});
        if (errno != EEXIST)
            return WrittenFile::failed("cannot create " + path + ": " + reason(errno));
    }
    return WrittenFile::failed("cannot create " + folder + "/" + stem + extension +
                               ": every numbered name up to " + std::to_string(kHighestNumber) +
                               " is taken");
}

WrittenFile create_replacement(const std::string& path) {
    const std::string stem =
        "." + std::filesystem::path(path).filename().string() + "." + std::to_string(::getpid());
    WrittenFile file = create_unique_file(folder_of(path), stem, ".tmp");
    if (file.is_open()) file.temporary_ = std::exchange(file.path_, path);
    return file;
}

std::string file_system_failure(const std::filesystem::filesystem_error& error) {
    std::string where = error.path1().string();
    if (!error.path2().empty()) where += " and " + error.path2().string();
    return (where.empty() ? std::string() : where + ": ") + error.code().message();
}

bool replace_file(const std::string& path, std::string_view text, std::string& failure) {
    WrittenFile file = create_replacement(path);
    const bool written = file.append(text) && file.finish();
    if (!written) failure = file.failure();
    return written;
}

std::optional<std::string> read_small_file(const std::string& path, size_t largest,
                                           std::string& problem) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) return std::string();
    if (fd < 0) {
        problem = std::string("cannot be read (") + std::strerror(errno) + ")";
        return std::nullopt;
    }
    struct stat facts {};
    std::string text;
    bool usable = ::fstat(fd, &facts) == 0 && S_ISREG(facts.st_mode);
    if (!usable) problem = "is no regular file";
    char chunk[65536];
    while (usable) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            usable = got == 0;
            if (got < 0) problem = std::string("cannot be read (") + std::strerror(errno) + ")";
            break;
        }
        text.append(chunk, static_cast<size_t>(got));
        if (text.size() > largest) {
            problem = "is larger than " + std::to_string(largest) + " bytes";
            usable = false;
        }
    }
    ::close(fd);
    if (!usable) return std::nullopt;
    return text;
}

}  // namespace grotmere
