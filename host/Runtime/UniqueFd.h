#pragma once
// An owned file descriptor: closed once, when its owner goes away.
#include <unistd.h>

#include <utility>

namespace host {

class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : _fd(fd) {}
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    UniqueFd(UniqueFd&& other) noexcept : _fd(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueFd() { reset(); }

    int get() const { return _fd; }
    explicit operator bool() const { return _fd >= 0; }

    // Gives up ownership without closing.
    int release() { return std::exchange(_fd, -1); }
    // Closes the descriptor held (close() is never retried on Linux: the descriptor is gone even
    // when it reports EINTR) and takes `fd`.
    void reset(int fd = -1) {
        if (_fd >= 0) ::close(_fd);
        _fd = fd;
    }

private:
    int _fd = -1;
};

}  // namespace host
