#pragma once
// A folder made for one run (a throwaway device root): a new, empty folder in the system's
// temporary folder, removed with everything in it when this ends, unless it is to be kept.
#include <filesystem>
#include <optional>
#include <string>

namespace sim {

class ScratchFolder {
public:
    // A new folder named <prefix>XXXXXX; nothing, with the reason, when none can be made.
    static std::optional<ScratchFolder> create(const std::string& prefix, std::string* error);

    ScratchFolder(ScratchFolder&& other) noexcept;
    ScratchFolder& operator=(ScratchFolder&&) = delete;
    ScratchFolder(const ScratchFolder&) = delete;
    ~ScratchFolder();

    const std::filesystem::path& path() const { return _path; }
    void keep() { _keep = true; }
    bool kept() const { return _keep; }

private:
    explicit ScratchFolder(std::filesystem::path path) : _path(std::move(path)) {}

    std::filesystem::path _path;
    bool _keep = false;
};

}  // namespace sim
