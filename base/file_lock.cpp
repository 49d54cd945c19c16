#include "base/file_lock.hpp"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/safe_file.hpp"

namespace grotmere {

namespace {

constexpr int32_t kRetryMilliseconds = 10;
constexpr size_t kLargestHolderText = 4096;

// The browser's file system is one page's alone and knows no locks: a page always holds them.
bool lock_descriptor(int fd, int& error) {
#ifdef __EMSCRIPTEN__
    (void)fd;
    error = 0;
    return true;
#else
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        error = errno;
        return false;
    }
    return true;
#endif
}

std::string problem_opening(const std::string& path, int error) {
    struct stat facts {};
    if (::lstat(path.c_str(), &facts) == 0) {
        if (S_ISLNK(facts.st_mode)) return "is a symbolic link";
        if (S_ISDIR(facts.st_mode)) return "is a folder";
        if (!S_ISREG(facts.st_mode)) return "is no plain file";
    }
    return std::string("cannot be opened (") + std::strerror(error) + ")";
}

void sleep_milliseconds(int32_t milliseconds) {
    const timespec pause{0, static_cast<long>(milliseconds) * 1000000L};
    ::nanosleep(&pause, nullptr);
}

}  // namespace

FileLock FileLock::try_take(const std::string& path) {
    FileLock lock;
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    } while (fd < 0 && errno == EINTR);
    struct stat facts {};
    if (fd >= 0 && (::fstat(fd, &facts) != 0 || !S_ISREG(facts.st_mode))) {
        ::close(fd);
        lock.problem_ = "is no plain file";
        return lock;
    }
    if (fd < 0) {
        lock.problem_ = problem_opening(path, errno);
        return lock;
    }
    int error = 0;
    if (lock_descriptor(fd, error)) {
        lock.fd_ = fd;
        lock.state_ = State::Held;
        return lock;
    }
    ::close(fd);
    if (error == EWOULDBLOCK) {
        lock.state_ = State::Busy;
    } else {
        lock.problem_ = std::string("cannot be locked (") + std::strerror(error) + ")";
    }
    return lock;
}

FileLock FileLock::take_within(const std::string& path, int32_t milliseconds) {
    for (int32_t waited = 0;; waited += kRetryMilliseconds) {
        FileLock lock = try_take(path);
        if (lock.state() != State::Busy || waited >= milliseconds) return lock;
        sleep_milliseconds(kRetryMilliseconds);
    }
}

FileLock::~FileLock() {
    release();
}

FileLock::FileLock(FileLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      state_(std::exchange(other.state_, State::Unusable)),
      problem_(std::move(other.problem_)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this == &other) return *this;
    release();
    fd_ = std::exchange(other.fd_, -1);
    state_ = std::exchange(other.state_, State::Unusable);
    problem_ = std::move(other.problem_);
    return *this;
}

// The file stays: removing it would let a process that opened it just before take a lock on a
// file nobody else can find any more.
void FileLock::release() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

void FileLock::name_holder(const std::string& text) {
    if (fd_ < 0 || ::ftruncate(fd_, 0) != 0) return;
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t wrote =
            ::pwrite(fd_, text.data() + done, text.size() - done, static_cast<off_t>(done));
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return;
        done += static_cast<size_t>(wrote);
    }
}

std::string FileLock::holder_named(const std::string& path) {
    std::string problem;
    return read_small_file(path, kLargestHolderText, problem).value_or("");
}

}  // namespace grotmere
