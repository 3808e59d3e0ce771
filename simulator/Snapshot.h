#pragma once
// PNG snapshots of the simulated screen, drawn by the renderer at the device's 2x.
#include <filesystem>
#include <string>

#include "simulator/SnapshotImage.h"

namespace sim {

class SettingsApp;

class Snapshot {
public:
    // Device pixels per point of every snapshot.
    static constexpr double kScale = 2;

    // Whether snapshots can be drawn (always, now that the renderer is part of every build).
    static bool available();
    // The screen as it would be written.
    static SnapshotImage image(const SettingsApp& app);
    // Writes the screen as a PNG (the same bytes for the same pixels), creating the folder; false,
    // with the reason, when it cannot.
    static bool write(const SettingsApp& app, const std::filesystem::path& path, std::string* error);
};

}  // namespace sim
