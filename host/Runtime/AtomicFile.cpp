#include "host/Runtime/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "host/Runtime/CHandle.h"
#include "host/Runtime/EventLog.h"
#include "host/Runtime/FailureInjection.h"
#include "host/Runtime/UniqueFd.h"

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

int fsyncRetrying(int fd) {
    int rc;
    do rc = ::fsync(fd);
    while (rc < 0 && errno == EINTR);
    return rc;
}

bool isPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

// A flushed temporary file in a folder, removed again unless it was renamed into place.
class TemporaryFile {
public:
    TemporaryFile(int folderFd, std::string_view forName) : _folderFd(folderFd) {
        // Seeded afresh in each process: a forked writer must not replay its parent's names,
        // which its killed siblings may have left behind.
        static thread_local std::mt19937_64 random;
        static thread_local pid_t seededIn = 0;
        if (seededIn != ::getpid()) {
            random.seed(std::random_device{}());
            seededIn = ::getpid();
        }
        static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string candidate = temporaryNamePrefix(forName);
            for (int i = 0; i < 6; ++i) candidate += kLetters[random() % (sizeof kLetters - 1)];
            _fd.reset(::openat(folderFd, candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
            if (_fd) {
                _name = std::move(candidate);
                return;
            }
            if (errno != EEXIST) return;
        }
    }
    ~TemporaryFile() {
        if (!_name.empty()) ::unlinkat(_folderFd, _name.c_str(), 0);
    }

    const std::string& name() const { return _name; }
    bool created() const { return !_name.empty(); }

    // Fills and flushes the file with `mode`; false with errno set on failure.
    bool fill(std::string_view bytes, mode_t mode, std::string* error) {
        if (::fchmod(_fd.get(), mode) < 0) return fail(error, "cannot set the mode of " + _name, errno);
        if (!writeAll(_fd.get(), bytes)) return fail(error, "cannot write " + _name, errno);
        if (fsyncRetrying(_fd.get()) < 0) return fail(error, "cannot flush " + _name, errno);
        _fd.reset();
        return true;
    }
    // The file now lives under another name; nothing to remove.
    void renamed() { _name.clear(); }

private:
    int _folderFd;
    UniqueFd _fd;
    std::string _name;
};

// The rename is only durable once the folder's entry is on disk. The data is in place whatever
// this says, so a failure is told, not returned. Some file systems cannot flush a folder at all.
void flushFolderAfterRename(int folderFd, std::string_view name) {
    int rc = fsyncRetrying(folderFd);
    int err = errno;
    if (FailureInjection::shouldFail("folder flush")) rc = -1, err = EIO;
    if (rc < 0 && err != EINVAL && err != EROFS)
        EventLog::shared().diagnostic("wrote " + std::string(name) + " but could not flush its folder: " + std::strerror(err));
}

}  // namespace

std::string temporaryNamePrefix(std::string_view name) { return "." + std::string(name) + ".velkaro-write-"; }

bool writeFileAtomicallyAt(int folderFd, std::string_view name, std::string_view bytes, std::string* error) {
    if (!isPlainName(name)) return fail(error, "cannot write \"" + std::string(name) + "\"", EISDIR);
    TemporaryFile temp(folderFd, name);
    if (!temp.created()) return fail(error, "cannot create a temporary file for " + std::string(name), errno);

    // A private file being replaced stays private, but its owner can always read and write it;
    // a symlink or nothing at the name gives the usual 0644.
    struct stat old{};
    const bool replacesFile = ::fstatat(folderFd, std::string(name).c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(old.st_mode);
    const mode_t mode = replacesFile ? ((old.st_mode & 07777) | 0600) : 0644;
    if (!temp.fill(bytes, mode, error)) return false;
    if (::renameat(folderFd, temp.name().c_str(), folderFd, std::string(name).c_str()) < 0)
        return fail(error, "cannot replace " + std::string(name), errno);
    temp.renamed();
    flushFolderAfterRename(folderFd, name);
    return true;
}

std::optional<std::string> writeNewFileAt(int folderFd, const std::function<std::string(int)>& nameFor, std::string_view bytes,
    std::string* error) {
    const std::string first = nameFor(1);
    TemporaryFile temp(folderFd, first);
    if (!temp.created()) return fail(error, "cannot create a temporary file for " + first, errno), std::nullopt;
    if (!temp.fill(bytes, 0644, error)) return std::nullopt;
    for (int n = 1; n < 1000000; ++n) {
        const std::string name = nameFor(n);
        if (!isPlainName(name)) return fail(error, "cannot write \"" + name + "\"", EINVAL), std::nullopt;
        int rc = ::renameat2(folderFd, temp.name().c_str(), folderFd, name.c_str(), RENAME_NOREPLACE);
        if (rc < 0 && errno == EINVAL) {
            // A file system without no-replace renames: a hard link is just as exclusive.
            rc = ::linkat(folderFd, temp.name().c_str(), folderFd, name.c_str(), 0);
            if (rc == 0) ::unlinkat(folderFd, temp.name().c_str(), 0);
        }
        if (rc == 0) {
            temp.renamed();
            flushFolderAfterRename(folderFd, name);
            return name;
        }
        if (errno != EEXIST) return fail(error, "cannot create " + name, errno), std::nullopt;
    }
    return fail(error, "no free name for " + first, EEXIST), std::nullopt;
}

int removeStaleTemporaryFiles(int folderFd, std::string_view name) {
    UniqueFd listing(::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!listing) return 0;
    const CHandle<DIR, ::closedir> dir(::fdopendir(listing.get()));
    if (!dir) return 0;
    listing.release();
    const std::string prefix = temporaryNamePrefix(name);
    int removed = 0;
    while (const dirent* entry = ::readdir(dir.get()))
        if (std::string_view(entry->d_name).starts_with(prefix) && ::unlinkat(folderFd, entry->d_name, 0) == 0) ++removed;
    return removed;
}

bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes, std::string* error) {
    const std::string name = path.filename().string();
    if (!isPlainName(name)) return fail(error, "cannot write " + path.string(), EISDIR);
    std::filesystem::path folder = path.parent_path();
    if (folder.empty()) folder = ".";
    UniqueFd folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folderFd) return fail(error, "cannot open folder " + folder.string(), errno);
    return writeFileAtomicallyAt(folderFd.get(), name, bytes, error);
}

}  // namespace host
