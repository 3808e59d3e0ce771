#pragma once
// A picture as a PNG file holds it: 8-bit RGBA with straight (not premultiplied) alpha. Taken
// from a drawn Cairo surface, read and written with libpng. Written files carry the pixels and
// an sRGB chunk only (no time, text or physical-size chunks), RGB when every pixel is opaque, so
// the same pixels always give the same bytes.
#include <cairo.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace sim {

class SnapshotImage {
public:
    struct Pixel {
        std::uint8_t r = 0, g = 0, b = 0, a = 0;
        bool operator==(const Pixel&) const = default;
    };

    SnapshotImage() = default;
    SnapshotImage(int width, int height);  // transparent
    SnapshotImage(int width, int height, Pixel fill);
    // An ARGB32 or RGB24 image surface (Cairo's premultiplied pixels made straight).
    static SnapshotImage fromSurface(cairo_surface_t* surface);
    // Nothing, with the reason, when the file cannot be read or is not a PNG.
    static std::optional<SnapshotImage> read(const std::filesystem::path& path, std::string* error);
    // Creates the folder; false, with the reason, when the file cannot be written.
    bool write(const std::filesystem::path& path, std::string* error) const;

    int width() const { return _width; }
    int height() const { return _height; }
    Pixel pixel(int x, int y) const;
    void setPixel(int x, int y, Pixel p);
    bool opaque() const;

private:
    int _width = 0, _height = 0;
    std::vector<std::uint8_t> _rgba;
};

}  // namespace sim
