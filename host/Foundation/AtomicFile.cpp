#include "host/Foundation/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace host {
namespace {

bool fail(std::string* error, const std::string& what, int err) {
    if (error) *error = what + ": " + std::strerror(err);
    return false;
}

bool writeAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

int closeOnce(int fd) {
    // close() must not be retried on EINTR on Linux: the descriptor is already gone.
    int rc = ::close(fd);
    return rc < 0 && errno == EINTR ? 0 : rc;
}

int fsyncRetrying(int fd) {
    int rc;
    do rc = ::fsync(fd);
    while (rc < 0 && errno == EINTR);
    return rc;
}

}  // namespace

bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes, std::string* error) {
    const std::string name = path.filename().string();
    if (name.empty() || name == "." || name == "..")
        return fail(error, "cannot write " + path.string(), EISDIR);
    std::filesystem::path folder = path.parent_path();
    if (folder.empty()) folder = ".";

    std::string tempName = (folder / ("." + name + ".XXXXXX")).string();
    int fd = ::mkostemp(tempName.data(), O_CLOEXEC);
    if (fd < 0) {
        int err = errno;
        return fail(error, "cannot create a temporary file in " + folder.string(), err);
    }

    // Removes the temporary file and reports the failed step with the errno it left.
    auto abandon = [&](const char* step, bool open) {
        int err = errno;
        if (open) ::close(fd);
        ::unlink(tempName.c_str());
        return fail(error, std::string(step) + " " + tempName, err);
    };

    // mkostemp makes the file private (0600); keep the mode of the file being replaced, or give a
    // new file the usual 0644.
    struct stat old{};
    mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    if (::fchmod(fd, mode) < 0) return abandon("cannot set the mode of", true);
    if (!writeAll(fd, bytes)) return abandon("cannot write", true);
    if (fsyncRetrying(fd) < 0) return abandon("cannot flush", true);
    if (closeOnce(fd) < 0) return abandon("cannot close", false);
    if (::rename(tempName.c_str(), path.c_str()) < 0) {
        int err = errno;
        ::unlink(tempName.c_str());
        return fail(error, "cannot replace " + path.string(), err);
    }

    // The rename is only durable once the folder's entry is on disk.
    int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) {
        int err = errno;
        return fail(error, "cannot open folder " + folder.string() + " to flush it", err);
    }
    int rc = fsyncRetrying(dirFd);
    int err = errno;
    ::close(dirFd);
    // Some file systems cannot flush a folder at all; there is nothing more to do on those.
    if (rc < 0 && err != EINVAL && err != EROFS)
        return fail(error, "cannot flush folder " + folder.string(), err);
    return true;
}

}  // namespace host
