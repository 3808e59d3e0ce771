#include "simulator/SnapshotImage.h"

#include <png.h>

#include <cstring>

namespace sim {

SnapshotImage::SnapshotImage(int width, int height)
    : _width(width), _height(height), _rgba(std::size_t(width) * std::size_t(height) * 4) {}

SnapshotImage::SnapshotImage(int width, int height, Pixel fill)
    : _width(width), _height(height), _rgba(std::size_t(width) * std::size_t(height) * 4) {
    for (std::size_t i = 0; i < _rgba.size(); i += 4) {
        _rgba[i] = fill.r;
        _rgba[i + 1] = fill.g;
        _rgba[i + 2] = fill.b;
        _rgba[i + 3] = fill.a;
    }
}

SnapshotImage SnapshotImage::fromSurface(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    const int width = cairo_image_surface_get_width(surface), height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const bool hasAlpha = cairo_image_surface_get_format(surface) == CAIRO_FORMAT_ARGB32;
    const unsigned char* data = cairo_image_surface_get_data(surface);
    SnapshotImage image(width, height);
    std::uint8_t* out = image._rgba.data();  // a whole screen per snapshot: straight through, no per-pixel calls
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + std::size_t(y) * std::size_t(stride));
        for (int x = 0; x < width; ++x, out += 4) {
            const std::uint32_t v = row[x];
            const unsigned a = hasAlpha ? v >> 24 : 255;
            // Straight colour from premultiplied, rounded to nearest as Cairo's own PNG writer does.
            const auto straight = [a](unsigned c) {
                return std::uint8_t(a == 255 ? c : a == 0 ? 0 : (c * 255 + a / 2) / a);
            };
            out[0] = straight(v >> 16 & 0xff);
            out[1] = straight(v >> 8 & 0xff);
            out[2] = straight(v & 0xff);
            out[3] = std::uint8_t(a);
        }
    }
    return image;
}

std::optional<SnapshotImage> SnapshotImage::read(const std::filesystem::path& path, std::string* error) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    const auto fail = [&](const std::string& why) -> std::optional<SnapshotImage> {
        if (error) *error = "cannot read " + path.string() + ": " + why;
        png_image_free(&png);
        return std::nullopt;
    };
    if (!png_image_begin_read_from_file(&png, path.c_str())) return fail(png.message);
    png.format = PNG_FORMAT_RGBA;
    SnapshotImage image(int(png.width), int(png.height));
    if (!png_image_finish_read(&png, nullptr, image._rgba.data(), 0, nullptr)) return fail(png.message);
    return image;
}

bool SnapshotImage::write(const std::filesystem::path& path, std::string* error) const {
    std::error_code ec;
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = png_uint_32(_width);
    png.height = png_uint_32(_height);
    const bool dropAlpha = opaque();
    png.format = dropAlpha ? PNG_FORMAT_RGB : PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> rgb;
    if (dropAlpha) {
        rgb.resize(_rgba.size() / 4 * 3);
        std::uint8_t* out = rgb.data();
        for (const std::uint8_t* in = _rgba.data(); in != _rgba.data() + _rgba.size(); in += 4, out += 3) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
        }
    }
    const bool written = png_image_write_to_file(&png, path.c_str(), 0, dropAlpha ? rgb.data() : _rgba.data(), 0, nullptr);
    if (!written && error) *error = "cannot write " + path.string() + ": " + png.message;
    png_image_free(&png);
    return written;
}

SnapshotImage::Pixel SnapshotImage::pixel(int x, int y) const {
    const std::uint8_t* p = &_rgba[(std::size_t(y) * std::size_t(_width) + std::size_t(x)) * 4];
    return {p[0], p[1], p[2], p[3]};
}

void SnapshotImage::setPixel(int x, int y, Pixel p) {
    std::uint8_t* q = &_rgba[(std::size_t(y) * std::size_t(_width) + std::size_t(x)) * 4];
    q[0] = p.r;
    q[1] = p.g;
    q[2] = p.b;
    q[3] = p.a;
}

bool SnapshotImage::opaque() const {
    for (std::size_t i = 3; i < _rgba.size(); i += 4)
        if (_rgba[i] != 255) return false;
    return true;
}

}  // namespace sim
