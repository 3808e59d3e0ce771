#include "host/Runtime/DeviceRoot.h"

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <linux/openat2.h>
#include <map>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "host/Runtime/AtomicFile.h"
#include "host/Runtime/CHandle.h"
#include "host/Runtime/EventLog.h"

namespace host {
namespace {

struct State {
    std::filesystem::path root;
    bool installed = false;
    std::map<std::string, std::filesystem::path> mounts;  // normalised device prefix -> host directory
};

State& state() {
    static State s;
    return s;
}

// A normalised device path split at its mount: the mounted (or root) directory on this machine
// and the rest of the path below it, relative ("" for the directory itself).
struct Placement {
    const std::filesystem::path* base;
    std::string rest;
    bool isMountPoint;
};

Placement place(const std::string& normal) {
    Placement out{&state().root, normal.substr(1), false};
    std::size_t bestLength = 0;
    for (const auto& [prefix, directory] : state().mounts) {
        const bool covers = normal == prefix || (normal.compare(0, prefix.size(), prefix) == 0 &&
                                                    (prefix == "/" || normal[prefix.size()] == '/'));
        if (covers && prefix.size() >= bestLength) {
            bestLength = prefix.size();
            out = {&directory, normal.substr(std::min(normal.size(), prefix == "/" ? 1 : prefix.size() + 1)), true};
            out.isMountPoint = normal == prefix;
        }
    }
    return out;
}

// The normalised path, or nothing (with `error` EINVAL/ENOENT and a diagnostic for a refused path).
std::optional<std::string> accepted(std::string_view devicePath, int* error) {
    if (!state().installed) {
        *error = ENOENT;
        return std::nullopt;
    }
    auto normal = DeviceRoot::normalize(devicePath);
    if (!normal) {
        EventLog::shared().diagnostic("refused device path outside the device root: " + std::string(devicePath));
        *error = EINVAL;
    }
    return normal;
}

// openat2 with the directory `base` as "/" for everything in `rest`. RESOLVE_NO_MAGICLINKS keeps
// /proc-style links (which point anywhere) out.
UniqueFd openInRoot(int base, const std::string& rest, std::uint64_t flags, int* error) {
    open_how how{};
    how.flags = flags | O_CLOEXEC;
    how.resolve = RESOLVE_IN_ROOT | RESOLVE_NO_MAGICLINKS;
    const char* relative = rest.empty() ? "." : rest.c_str();
    for (int attempt = 0; attempt < 16; ++attempt) {
        long fd = ::syscall(SYS_openat2, base, relative, &how, sizeof how);
        if (fd >= 0) return UniqueFd(static_cast<int>(fd));
        // EAGAIN: a rename elsewhere raced the lookup, which the kernel then refuses to trust.
        if (errno != EAGAIN && errno != EINTR) break;
    }
    *error = errno;
    return {};
}

// Opens a device path inside its root (or mount) with `flags`.
UniqueFd openConfined(std::string_view devicePath, std::uint64_t flags, int* error) {
    int ignored = 0;
    if (!error) error = &ignored;
    auto normal = accepted(devicePath, error);
    if (!normal) return {};
    const Placement at = place(*normal);
    UniqueFd base(::open(at.base->c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!base) {
        *error = errno;
        return {};
    }
    return openInRoot(base.get(), at.rest, flags, error);
}

std::string parentOf(const std::string& normal) {
    const auto slash = normal.rfind('/');
    return slash == 0 ? "/" : normal.substr(0, slash);
}

int fsyncRetrying(int fd) {
    int rc;
    do rc = ::fsync(fd);
    while (rc < 0 && errno == EINTR);
    return rc;
}

}  // namespace

void DeviceRoot::install(std::filesystem::path rootDirectory) {
    state().root = std::move(rootDirectory);
    state().installed = true;
    state().mounts.clear();
}

void DeviceRoot::uninstall() { state() = State{}; }
bool DeviceRoot::isInstalled() { return state().installed; }
const std::filesystem::path& DeviceRoot::directory() { return state().root; }

void DeviceRoot::mount(std::string devicePrefix, std::filesystem::path hostDirectory) {
    if (auto normal = normalize(devicePrefix)) state().mounts[*normal] = std::move(hostDirectory);
}

std::vector<std::pair<std::string, std::filesystem::path>> DeviceRoot::mounts() {
    return {state().mounts.begin(), state().mounts.end()};
}

std::optional<std::string> DeviceRoot::normalize(std::string_view devicePath) {
    if (devicePath.empty() || devicePath.front() != '/' || devicePath.find('\0') != std::string_view::npos)
        return std::nullopt;
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= devicePath.size()) {
        std::size_t end = devicePath.find('/', start);
        if (end == std::string_view::npos) end = devicePath.size();
        std::string_view part = devicePath.substr(start, end - start);
        if (part == "..") {
            if (parts.empty()) return std::nullopt;  // would climb above the device's "/"
            parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string out;
    for (auto part : parts) out.append("/").append(part);
    return out.empty() ? std::string("/") : out;
}

std::optional<std::filesystem::path> DeviceRoot::hostPathForDisplay(std::string_view devicePath) {
    if (!state().installed) return std::nullopt;
    auto normal = normalize(devicePath);
    if (!normal) return std::nullopt;
    const Placement at = place(*normal);
    return at.rest.empty() ? *at.base : *at.base / at.rest;
}

std::string DeviceRoot::describe(int error) {
    switch (error) {
    case 0: return "read";
    case ENOENT: return "no such file";
    case EISDIR: return "a folder, not a file";
    case EINVAL: return "not a regular file";
    default: return std::strerror(error);
    }
}

namespace {

// A regular file opened for reading, with its size from the same fstat.
UniqueFd openRegular(std::string_view devicePath, int* error, off_t* size) {
    // Non-blocking, so a FIFO put in a file's place answers at once instead of waiting for a writer.
    UniqueFd fd = openConfined(devicePath, O_RDONLY | O_NONBLOCK | O_NOCTTY, error);
    if (!fd) return {};
    struct stat st{};
    if (::fstat(fd.get(), &st) < 0) {
        *error = errno;
        return {};
    }
    if (!S_ISREG(st.st_mode)) {
        *error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return {};
    }
    *error = 0;
    *size = st.st_size;
    return fd;
}

}  // namespace

UniqueFd DeviceRoot::openFile(std::string_view devicePath, int* error) {
    int ignored = 0;
    off_t size = 0;
    return openRegular(devicePath, error ? error : &ignored, &size);
}

int DeviceRoot::readInto(std::string_view devicePath, std::string& bytes) {
    int error = 0;
    off_t size = 0;
    UniqueFd fd = openRegular(devicePath, &error, &size);
    if (!fd) return error;
    // Straight into the string: sized from fstat (one byte more, so the end shows at once), grown
    // when the file grew meanwhile or reports no size.
    bytes.resize(static_cast<std::size_t>(std::max<off_t>(size, 0)) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) bytes.resize(bytes.size() * 2 + 4096);
        const ssize_t n = ::read(fd.get(), bytes.data() + filled, bytes.size() - filled);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            bytes.clear();
            return error;
        }
        filled += static_cast<std::size_t>(n);
    }
    bytes.resize(filled);
    return 0;
}

DeviceRoot::ReadResult DeviceRoot::read(std::string_view devicePath) {
    ReadResult result;
    std::string bytes;
    result.error = readInto(devicePath, bytes);
    if (result.error == 0) result.bytes = std::move(bytes);
    return result;
}

std::optional<std::string> DeviceRoot::readFile(std::string_view devicePath) { return read(devicePath).bytes; }

bool DeviceRoot::exists(std::string_view devicePath) { return bool(openConfined(devicePath, O_PATH, nullptr)); }

bool DeviceRoot::isFolder(std::string_view devicePath) {
    return bool(openConfined(devicePath, O_PATH | O_DIRECTORY, nullptr));
}

UniqueFd DeviceRoot::openFolder(std::string_view devicePath, int* error) {
    return openConfined(devicePath, O_RDONLY | O_DIRECTORY, error);
}

std::optional<std::vector<DeviceRoot::FolderEntry>> DeviceRoot::listFolder(std::string_view devicePath) {
    UniqueFd fd = openFolder(devicePath);
    if (!fd) return std::nullopt;
    const CHandle<DIR, ::closedir> dir(::fdopendir(fd.get()));
    if (!dir) return std::nullopt;
    fd.release();
    const std::string folder = *normalize(devicePath);
    std::vector<FolderEntry> entries;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        bool folderEntry = entry->d_type == DT_DIR;
        // A link (or a file system that does not say) is looked at where it leads, on the device.
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN)
            folderEntry = isFolder((folder == "/" ? "" : folder) + "/" + name);
        entries.push_back({name, folderEntry});
    }
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    return entries;
}

bool DeviceRoot::createFolders(std::string_view devicePath, std::string* error) {
    int err = 0;
    auto fail = [&](const std::string& what) {
        if (error) *error = what + ": " + std::strerror(err);
        return false;
    };
    auto normal = accepted(devicePath, &err);
    if (!normal) return fail("cannot create " + std::string(devicePath));
    const Placement at = place(*normal);
    UniqueFd base(::open(at.base->c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!base) return err = errno, fail("cannot open the device folder " + at.base->string());
    UniqueFd current = openInRoot(base.get(), "", O_RDONLY | O_DIRECTORY, &err);
    if (!current) return fail("cannot open the device folder " + at.base->string());
    std::string prefix;
    std::size_t start = 0;
    while (start < at.rest.size()) {
        std::size_t end = at.rest.find('/', start);
        if (end == std::string::npos) end = at.rest.size();
        const std::string part = at.rest.substr(start, end - start);
        prefix += (prefix.empty() ? "" : "/") + part;
        start = end + 1;
        // Made inside the level opened last, so a link at `part` is never followed by mkdir;
        // the next level is then looked up from the root again, links resolving inside it.
        if (::mkdirat(current.get(), part.c_str(), 0755) == 0) {
            if (fsyncRetrying(current.get()) < 0 && errno != EINVAL && errno != EROFS)
                return err = errno, fail("cannot flush the folder holding " + prefix);
        } else if (errno != EEXIST) {
            return err = errno, fail("cannot create " + std::string(devicePath));
        }
        current = openInRoot(base.get(), prefix, O_RDONLY | O_DIRECTORY, &err);
        if (!current) return fail("cannot open " + std::string(devicePath));
    }
    return true;
}

bool DeviceRoot::writeFileAtomically(std::string_view devicePath, std::string_view bytes, std::string* error) {
    int err = 0;
    auto fail = [&](const std::string& what) {
        if (error) *error = what + ": " + std::strerror(err);
        return false;
    };
    auto normal = accepted(devicePath, &err);
    if (!normal) return fail("cannot write " + std::string(devicePath));
    if (*normal == "/" || place(*normal).isMountPoint) return err = EISDIR, fail("cannot write " + *normal);
    UniqueFd folder = openFolder(parentOf(*normal), &err);
    if (!folder) return fail("cannot open the folder of " + *normal);
    return writeFileAtomicallyAt(folder.get(), normal->substr(normal->rfind('/') + 1), bytes, error);
}

}  // namespace host
