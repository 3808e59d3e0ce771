#include "simulator/Snapshot.h"

#include "simulator/Renderer.h"

namespace sim {

bool Snapshot::available() { return true; }

bool Snapshot::write(const SettingsApp& app, const std::filesystem::path& path, std::string* error) {
    std::error_code ec;
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
    return Renderer::writePNG(app, path, 2, error);
}

}  // namespace sim
