#include "simulator/Snapshot.h"

#include <type_traits>

#if __has_include("simulator/Renderer.h")
#include "simulator/Renderer.h"
#define VELKARO_SIM_HAS_RENDERER 1
#endif

namespace sim {

bool Snapshot::available() {
#ifdef VELKARO_SIM_HAS_RENDERER
    return true;
#else
    return false;
#endif
}

bool Snapshot::write(const SettingsApp& app, const std::filesystem::path& path, std::string* error) {
    std::error_code ec;
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
#ifdef VELKARO_SIM_HAS_RENDERER
    using Result = decltype(Renderer::writePNG(app, path));
    bool written = false;
    if constexpr (std::is_void_v<Result>) {
        Renderer::writePNG(app, path);
        written = std::filesystem::exists(path, ec);
    } else {
        written = static_cast<bool>(Renderer::writePNG(app, path));
    }
    if (!written && error) *error = "the renderer could not write " + path.string();
    return written;
#else
    (void)app;
    if (error) *error = "drawing not available: this build has no renderer, so no snapshot was written to " + path.string();
    return false;
#endif
}

}  // namespace sim
