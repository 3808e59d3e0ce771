#include "simulator/Snapshot.h"

#include "host/Runtime/CHandle.h"
#include "simulator/Renderer.h"

namespace sim {

bool Snapshot::available() { return true; }

SnapshotImage Snapshot::image(const SettingsApp& app) {
    const host::CHandle<cairo_surface_t, cairo_surface_destroy> surface(Renderer::renderImage(app, kScale));
    return SnapshotImage::fromSurface(surface.get());
}

bool Snapshot::write(const SettingsApp& app, const std::filesystem::path& path, std::string* error) {
    return image(app).write(path, error);
}

}  // namespace sim
