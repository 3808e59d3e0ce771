#pragma once
// The simulated device's file system. Every absolute device path the bundle uses is mapped into
// a directory on this machine (the device root); further directories may be mounted at device
// prefixes (the staged bundle, say). A path that would climb out of the root is refused.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace host {

class DeviceRoot {
public:
    // The device root in use by this process. Set by the simulator or a test fixture.
    static void install(std::filesystem::path rootDirectory);
    static void uninstall();
    static bool isInstalled();
    static const std::filesystem::path& directory();

    // Maps the device directory `devicePrefix` (e.g. "/Library/PreferenceBundles/Velkaro.bundle")
    // onto `hostDirectory`; later mounts win over earlier ones and over the root.
    static void mount(std::string devicePrefix, std::filesystem::path hostDirectory);
    // Every mount as (device prefix, host directory); a mount comes before the mounts inside it.
    static std::vector<std::pair<std::string, std::filesystem::path>> mounts();

    // "/var/mobile//Library/x/../y" -> "/var/mobile/Library/y". Nothing when the path is relative,
    // empty, contains a NUL, or climbs above "/".
    static std::optional<std::string> normalize(std::string_view devicePath);

    // The host path of a device path, or nothing when it is refused (see normalize) or no root
    // is installed. Refusals are reported once to the event log as a diagnostic.
    static std::optional<std::filesystem::path> resolve(std::string_view devicePath);

    // Whole-file reads and writes through the mapping (dataWithContentsOfFile: and friends).
    static std::optional<std::string> readFile(std::string_view devicePath);
};

}  // namespace host
