#pragma once
// The content a simulated device starts with (its package database, say): a folder tree on this
// machine copied into a device root, file by file, where the device does not have the file yet.
#include <filesystem>
#include <string>

namespace host {

class DeviceSeed {
public:
    // Copies every file under `seedDirectory` to the same place under `deviceRoot`, creating
    // folders as needed. Paths resolve inside the device root, its own links included, so a
    // link never leads a copy outside; an existing file (or link) is never written over.
    // False, with `error` saying why, when a file could be neither found nor created.
    static bool plant(const std::filesystem::path& seedDirectory, const std::filesystem::path& deviceRoot,
                      std::string* error = nullptr);
};

}  // namespace host
