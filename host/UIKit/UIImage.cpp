#include "host/UIKit/UIImage.h"

#include <cairo.h>

#include <cmath>
#include <cstring>

#include "host/Runtime/CHandle.h"
#include "host/Runtime/DeviceRoot.h"
#include "host/Runtime/DeviceProfile.h"
#include "host/Runtime/EventLog.h"

namespace {

// The width and height a PNG declares in its header (the IHDR chunk, always first), or nothing
// when the bytes do not start like a PNG.
std::optional<std::pair<std::uint32_t, std::uint32_t>> declaredSize(std::string_view png) {
    static constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (png.size() < 24 || std::memcmp(png.data(), kSignature, 8) != 0 || png.substr(12, 4) != "IHDR") return std::nullopt;
    const auto bigEndian = [&](std::size_t at) {
        std::uint32_t v = 0;
        for (std::size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(png[at + i]);
        return v;
    };
    return std::pair{bigEndian(16), bigEndian(20)};
}

// The scale a file's name declares: 2 for "name@2x.png", 1 without a suffix.
CGFloat scaleInName(std::string_view path) {
    const auto slash = path.rfind('/');
    std::string_view stem = path.substr(slash == std::string_view::npos ? 0 : slash + 1);
    if (const auto dot = stem.rfind('.'); dot != std::string_view::npos) stem = stem.substr(0, dot);
    if (stem.size() < 3 || stem.back() != 'x') return 1;
    const auto at = stem.rfind('@');
    if (at == std::string_view::npos || at + 3 != stem.size()) return 1;
    const char digit = stem[at + 1];
    return digit >= '2' && digit <= '9' ? CGFloat(digit - '0') : 1;
}

struct Reader {
    std::string_view rest;
};

cairo_status_t readFromMemory(void* closure, unsigned char* data, unsigned int length) {
    auto* reader = static_cast<Reader*>(closure);
    if (reader->rest.size() < length) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, reader->rest.data(), length);
    reader->rest.remove_prefix(length);
    return CAIRO_STATUS_SUCCESS;
}

}  // namespace

std::pair<std::string, CGFloat> UIImage::resolvedPath(const std::string& devicePath, CGFloat screenScale) {
    const CGFloat own = scaleInName(devicePath);
    const int screen = int(std::lround(screenScale));
    if (own != 1 || screen < 2 || screen > 9) return {devicePath, own};
    const auto slash = devicePath.rfind('/');
    const auto dot = devicePath.rfind('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const std::string variant = hasExtension
        ? devicePath.substr(0, dot) + "@" + std::to_string(screen) + "x" + devicePath.substr(dot)
        : devicePath + "@" + std::to_string(screen) + "x";
    if (host::DeviceRoot::exists(variant)) return {variant, CGFloat(screen)};
    return {devicePath, 1};
}

std::shared_ptr<UIImage> UIImage::initWithContentsOfFile(const std::string& requestedPath) {
    auto& log = host::EventLog::shared();
    const auto [devicePath, scale] = resolvedPath(requestedPath, host::DeviceProfile::current().screenScale);
    const auto file = host::DeviceRoot::read(devicePath);
    if (!file.bytes) {
        log.diagnostic((file.missing() ? "missing image " : "unreadable image (" + file.reason() + ") ") + devicePath);
        return nullptr;
    }
    const auto size = declaredSize(*file.bytes);
    if (!size) {
        log.diagnostic("unreadable image (not a PNG) " + devicePath);
        return nullptr;
    }
    if (size->first > kMaxPixelsPerSide || size->second > kMaxPixelsPerSide) {
        log.diagnostic("image " + devicePath + " is " + std::to_string(size->first) + "x" + std::to_string(size->second) +
                       " pixels, over the " + std::to_string(kMaxPixelsPerSide) + "x" + std::to_string(kMaxPixelsPerSide) +
                       " an image may have; not loaded");
        return nullptr;
    }
    Reader reader{*file.bytes};
    host::CHandle<cairo_surface_t, cairo_surface_destroy> surface(
        cairo_image_surface_create_from_png_stream(readFromMemory, &reader));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
        log.diagnostic("unreadable image (not a PNG) " + devicePath);
        return nullptr;
    }
    cairo_surface_flush(surface.get());
    auto image = std::make_shared<UIImage>();
    image->_width = cairo_image_surface_get_width(surface.get());
    image->_height = cairo_image_surface_get_height(surface.get());
    image->_stride = cairo_image_surface_get_stride(surface.get());
    image->_scale = scale;
    image->_data = cairo_image_surface_get_data(surface.get());
    // The surface keeps the decoded pixels; the image holds it instead of a copy.
    image->_pixelStore = std::move(surface);
    image->_sourcePath = devicePath;
    return image;
}

std::shared_ptr<UIImage> UIImage::imageWithRenderingMode(UIImageRenderingMode mode) const {
    auto copy = std::make_shared<UIImage>();
    copy->_width = _width;
    copy->_height = _height;
    copy->_stride = _stride;
    copy->_scale = _scale;
    copy->_pixelStore = _pixelStore;
    copy->_data = _data;
    copy->_renderingMode = mode;
    copy->_sourcePath = _sourcePath;
    return copy;
}
