#pragma once
// PNG snapshots of the simulated screen, drawn by the renderer.
#include <filesystem>
#include <string>

namespace sim {

class SettingsApp;

class Snapshot {
public:
    // Whether snapshots can be drawn (always, now that the renderer is part of every build).
    static bool available();
    // Writes the screen as a PNG, creating the folder; false, with the reason, when it cannot.
    static bool write(const SettingsApp& app, const std::filesystem::path& path, std::string* error);
};

}  // namespace sim
