#pragma once
// PNG snapshots of the simulated screen, through the renderer when the build has one.
#include <filesystem>
#include <string>

namespace sim {

class SettingsApp;

class Snapshot {
public:
    // Whether this build can draw at all.
    static bool available();
    // Writes the screen as a PNG, creating the folder; false, with the reason, when it cannot.
    static bool write(const SettingsApp& app, const std::filesystem::path& path, std::string* error);
};

}  // namespace sim
