#pragma once
// An image read from a PNG file, with its rendering mode and scale. Pixels are kept decoded
// (premultiplied ARGB, as Cairo keeps them) for the renderer, once: copies of the image share them.
// Its size is in points: pixels divided by its scale, so a 2x picture lays out as its 1x one.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <utility>

#include "host/CoreGraphics/CGGeometry.h"
#include "host/Foundation/NSObject.h"

enum UIImageRenderingMode : NSInteger {
    UIImageRenderingModeAutomatic = 0,
    UIImageRenderingModeAlwaysOriginal = 1,
    UIImageRenderingModeAlwaysTemplate = 2,
};

class UIImage : public NSObject {
public:
    // Larger images are refused before any pixel is decoded.
    static constexpr int kMaxPixelsPerSide = 4096;

    // initWithContentsOfFile: a device path; nullptr when the file is missing, refused by the
    // device root, not a PNG or larger than kMaxPixelsPerSide on a side (the host's event log
    // says which). On a screen of scale 2 or more, "name@<scale>x.png" beside "name.png" is read
    // in its place when it exists.
    static std::shared_ptr<UIImage> initWithContentsOfFile(const std::string& devicePath);
    // The file a screen of `screenScale` reads for `devicePath`, with that file's scale: the
    // "@<n>x" variant when one exists, else the path itself, whose scale its own name gives.
    static std::pair<std::string, CGFloat> resolvedPath(const std::string& devicePath, CGFloat screenScale);
    // A copy sharing the pixels, drawn in the given mode.
    std::shared_ptr<UIImage> imageWithRenderingMode(UIImageRenderingMode mode) const;

    NS_CLASS(UIImage)
    CGSize size() const { return {_width / _scale, _height / _scale}; }
    CGFloat scale() const { return _scale; }
    UIImageRenderingMode renderingMode() const { return _renderingMode; }

    int pixelWidth() const { return _width; }
    int pixelHeight() const { return _height; }
    int stride() const { return _stride; }
    std::span<const std::uint8_t> pixels() const { return {_data, std::size_t(_stride) * std::size_t(_height)}; }
    const std::string& sourcePath() const { return _sourcePath; }

private:
    int _width = 0, _height = 0, _stride = 0;
    CGFloat _scale = 1;
    std::shared_ptr<const void> _pixelStore;  // owns what _data points at
    const std::uint8_t* _data = nullptr;
    UIImageRenderingMode _renderingMode = UIImageRenderingModeAutomatic;
    std::string _sourcePath;
};
