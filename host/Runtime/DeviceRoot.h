#pragma once
// The simulated device's file system. Every absolute device path the bundle uses is looked up
// inside a directory on this machine (the device root) by the kernel, as if that directory were
// "/": ".." and symlinks, absolute ones included, stay inside it, so a device may hold its own
// links ("/var" -> "/private/var") and nothing reaches this machine's files. Further directories
// may be mounted at device prefixes (the staged bundle, say); each is a root of its own.
#include <cerrno>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/Runtime/UniqueFd.h"

namespace host {

class DeviceRoot {
public:
    // The device root in use by this process. Set by the simulator or a test fixture.
    static void install(std::filesystem::path rootDirectory);
    static void uninstall();
    static bool isInstalled();
    // The root's directory on this machine, for messages and for confining child processes to it.
    // Device files are never opened through it.
    static const std::filesystem::path& directory();

    // Mounts `hostDirectory` at the device directory `devicePrefix` (e.g.
    // "/Library/PreferenceBundles/Velkaro.bundle"). The longest mounted prefix of a path's text
    // wins; later mounts of one prefix replace earlier ones.
    static void mount(std::string devicePrefix, std::filesystem::path hostDirectory);
    // Every mount as (device prefix, host directory); a mount comes before the mounts inside it.
    static std::vector<std::pair<std::string, std::filesystem::path>> mounts();

    // "/var/mobile//Library/x/../y" -> "/var/mobile/Library/y". Nothing when the path is relative,
    // empty, contains a NUL, or climbs above "/".
    static std::optional<std::string> normalize(std::string_view devicePath);

    // Where a device path would be on this machine by its text alone, for messages. Symlinks on
    // the device are not followed, so it may not be where the file is: never open it.
    static std::optional<std::filesystem::path> hostPathForDisplay(std::string_view devicePath);

    // All the functions below refuse (with a diagnostic in the event log) a path that normalize
    // refuses, and find nothing while no root is installed.

    // A whole regular file. `error` is 0 when read, ENOENT when there is no such file, otherwise
    // why an existing entry could not be read (EACCES, EISDIR for a folder, EINVAL for a FIFO or
    // other special file, ELOOP, ...). A FIFO never blocks the reader.
    struct ReadResult {
        std::optional<std::string> bytes;
        int error = 0;
        bool missing() const { return error == ENOENT; }
        std::string reason() const { return describe(error); }
    };
    // An error of these functions in words ("no such file", "not a regular file", ...).
    static std::string describe(int error);
    static ReadResult read(std::string_view devicePath);
    // The same into `bytes`, whose capacity is reused: a caller that reads many files one after
    // another (page lists) keeps one buffer. Returns the error as above (0 when read); `bytes`
    // holds the file only then.
    static int readInto(std::string_view devicePath, std::string& bytes);
    // The bytes, or nothing whatever the reason (dataWithContentsOfFile:).
    static std::optional<std::string> readFile(std::string_view devicePath);

    static bool exists(std::string_view devicePath);
    static bool isFolder(std::string_view devicePath);

    struct FolderEntry {
        std::string name;
        bool isFolder = false;  // a link to a folder on the device counts as one
    };
    // The entries of a folder, by name; nothing when it is not a folder that can be read.
    static std::optional<std::vector<FolderEntry>> listFolder(std::string_view devicePath);

    // Creates the folder and its missing parents (mkdir -p), each level looked up inside the
    // root, and flushes every folder that gained an entry. True when the folder is there.
    static bool createFolders(std::string_view devicePath, std::string* error = nullptr);

    // A regular file opened for reading (never blocking, closed on exec); an empty fd and `error`
    // as read() gives it otherwise.
    static UniqueFd openFile(std::string_view devicePath, int* error = nullptr);
    // A folder opened for the *At() calls (writes, locks, listings) inside it.
    static UniqueFd openFolder(std::string_view devicePath, int* error = nullptr);

    // Replaces the device file whole (see writeFileAtomicallyAt); its folder must exist.
    static bool writeFileAtomically(std::string_view devicePath, std::string_view bytes, std::string* error = nullptr);
};

}  // namespace host
