#pragma once
// An image read from a PNG file, with its rendering mode. Pixels are kept decoded (premultiplied
// ARGB, as Cairo keeps them) for the renderer.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/CoreGraphics/CGGeometry.h"
#include "host/Foundation/NSObject.h"

enum UIImageRenderingMode : NSInteger {
    UIImageRenderingModeAutomatic = 0,
    UIImageRenderingModeAlwaysOriginal = 1,
    UIImageRenderingModeAlwaysTemplate = 2,
};

class UIImage : public NSObject {
public:
    // initWithContentsOfFile: a device path; nullptr when the file is missing, refused by the
    // device root or not a PNG (the host's event log says which).
    static std::shared_ptr<UIImage> initWithContentsOfFile(const std::string& devicePath);
    // A copy sharing the pixels, drawn in the given mode.
    std::shared_ptr<UIImage> imageWithRenderingMode(UIImageRenderingMode mode) const;

    std::string className() const override { return "UIImage"; }
    CGSize size() const { return {double(_width), double(_height)}; }
    UIImageRenderingMode renderingMode() const { return _renderingMode; }

    int pixelWidth() const { return _width; }
    int pixelHeight() const { return _height; }
    int stride() const { return _stride; }
    const std::vector<std::uint8_t>& pixels() const { return *_pixels; }
    const std::string& sourcePath() const { return _sourcePath; }

private:
    int _width = 0, _height = 0, _stride = 0;
    std::shared_ptr<const std::vector<std::uint8_t>> _pixels;
    UIImageRenderingMode _renderingMode = UIImageRenderingModeAutomatic;
    std::string _sourcePath;
};
