#include "host/Runtime/DeviceSeed.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <utility>

namespace host {
namespace {

// A file descriptor closed when it goes out of scope.
class Fd {
public:
    explicit Fd(int fd = -1) : _fd(fd) {}
    Fd(Fd&& other) noexcept : _fd(std::exchange(other._fd, -1)) {}
    Fd& operator=(Fd&& other) noexcept {
        std::swap(_fd, other._fd);
        return *this;
    }
    ~Fd() {
        if (_fd >= 0) close(_fd);
    }
    int get() const { return _fd; }

private:
    int _fd;
};

// `relative` resolved inside the folder `root` as if it were "/".
Fd openInRoot(int root, const std::string& relative, std::uint64_t flags) {
    open_how how{};
    how.flags = flags | O_CLOEXEC;
    how.resolve = RESOLVE_IN_ROOT;
    return Fd(int(syscall(SYS_openat2, root, relative.c_str(), &how, sizeof how)));
}

// The device folder `relative`, created (with its parents) where missing.
Fd makeFolder(int root, const std::filesystem::path& relative) {
    Fd folder(fcntl(root, F_DUPFD_CLOEXEC, 0));
    std::filesystem::path walked;
    for (const auto& part : relative) {
        walked /= part;
        Fd next = openInRoot(root, walked.string(), O_PATH | O_DIRECTORY);
        if (next.get() < 0 && errno == ENOENT && mkdirat(folder.get(), part.c_str(), 0755) == 0)
            next = openInRoot(root, walked.string(), O_PATH | O_DIRECTORY);
        if (next.get() < 0) return next;
        folder = std::move(next);
    }
    return folder;
}

bool fail(std::string* error, const std::string& why) {
    if (error) *error = why + ": " + std::strerror(errno);
    return false;
}

}  // namespace

bool DeviceSeed::plant(const std::filesystem::path& seedDirectory, const std::filesystem::path& deviceRoot,
                       std::string* error) {
    Fd root(open(deviceRoot.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (root.get() < 0) return fail(error, "cannot open the device root " + deviceRoot.string());
    std::error_code ec;
    for (std::filesystem::recursive_directory_iterator it(seedDirectory, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file()) continue;
        const auto relative = it->path().lexically_relative(seedDirectory);
        Fd folder = makeFolder(root.get(), relative.parent_path());
        if (folder.get() < 0) return fail(error, "cannot create the device folder /" + relative.parent_path().string());
        Fd file(openat(folder.get(), relative.filename().c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
        if (file.get() < 0 && errno == EEXIST) continue;  // the device's own, kept as it is
        if (file.get() < 0) return fail(error, "cannot create the device file /" + relative.string());
        std::ifstream in(it->path(), std::ios::binary);
        if (!in) return fail(error, "cannot read the device seed " + it->path().string());
        const std::string data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        for (std::size_t done = 0; done < data.size();) {
            const ssize_t n = write(file.get(), data.data() + done, data.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return fail(error, "cannot write the device file /" + relative.string());
            done += std::size_t(n);
        }
    }
    if (ec) {
        errno = ec.value();
        return fail(error, "cannot read the device seed " + seedDirectory.string());
    }
    return true;
}

}  // namespace host
