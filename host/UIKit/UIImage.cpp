#include "host/UIKit/UIImage.h"

#include <cairo.h>

#include "host/System/DeviceRoot.h"
#include "host/System/EventLog.h"

std::shared_ptr<UIImage> UIImage::initWithContentsOfFile(const std::string& devicePath) {
    auto path = host::DeviceRoot::resolve(devicePath);
    if (!path) return nullptr;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(*path, ec)) {
        host::EventLog::shared().diagnostic("missing image " + devicePath);
        return nullptr;
    }
    cairo_surface_t* surface = cairo_image_surface_create_from_png(path->c_str());
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        host::EventLog::shared().diagnostic("unreadable image (not a PNG) " + devicePath);
        return nullptr;
    }
    auto image = std::make_shared<UIImage>();
    image->_width = cairo_image_surface_get_width(surface);
    image->_height = cairo_image_surface_get_height(surface);
    image->_stride = cairo_image_surface_get_stride(surface);
    const auto* data = cairo_image_surface_get_data(surface);
    image->_pixels = std::make_shared<const std::vector<std::uint8_t>>(data, data + image->_stride * image->_height);
    image->_sourcePath = devicePath;
    cairo_surface_destroy(surface);
    return image;
}

std::shared_ptr<UIImage> UIImage::imageWithRenderingMode(UIImageRenderingMode mode) const {
    auto copy = std::make_shared<UIImage>();
    copy->_width = _width;
    copy->_height = _height;
    copy->_stride = _stride;
    copy->_pixels = _pixels;
    copy->_renderingMode = mode;
    copy->_sourcePath = _sourcePath;
    return copy;
}
