#pragma once
// Shared by the drawing and window tests: a started Settings application on a fresh device in a
// temporary folder (the staged bundle, a manual clock at 0), and a drawn screen read back as
// pixels.
#include <gtest/gtest.h>

#include <cairo.h>
#include <stdlib.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "simulator/Renderer.h"
#include "simulator/SettingsApp.h"

namespace simtest {

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};
inline std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "rgb(" << c.r << ", " << c.g << ", " << c.b << ")";
}

// A drawn screen: rendered from an app, or a frame the window drew.
class ScreenImage {
public:
    explicit ScreenImage(const sim::SettingsApp& app, double scale = 2)
        : _image(sim::Renderer::renderImage(app, scale)), _scale(scale) {}
    ScreenImage(cairo_surface_t* frame, double scale) : _image(cairo_surface_reference(frame)), _scale(scale) {}
    ~ScreenImage() { cairo_surface_destroy(_image); }
    ScreenImage(const ScreenImage&) = delete;
    ScreenImage& operator=(const ScreenImage&) = delete;

    double scale() const { return _scale; }
    int width() const { return cairo_image_surface_get_width(_image); }
    int height() const { return cairo_image_surface_get_height(_image); }

    // A device pixel; outside the image, rgb(-1, -1, -1).
    Rgb pixel(int x, int y) const {
        if (x < 0 || y < 0 || x >= width() || y >= height()) return {-1, -1, -1};
        const auto* row = cairo_image_surface_get_data(_image) + y * cairo_image_surface_get_stride(_image);
        const std::uint32_t v = reinterpret_cast<const std::uint32_t*>(row)[x];
        return {int(v >> 16 & 0xff), int(v >> 8 & 0xff), int(v & 0xff)};
    }
    // The pixel under a point of the screen (points).
    Rgb at(CGPoint p) const { return pixel(int(std::floor(p.x * _scale)), int(std::floor(p.y * _scale))); }

    void forEach(CGRect r, const std::function<void(const Rgb&)>& visit) const {
        for (int y = int(std::floor(r.minY() * _scale)); y < int(std::floor(r.maxY() * _scale)); ++y)
            for (int x = int(std::floor(r.minX() * _scale)); x < int(std::floor(r.maxX() * _scale)); ++x) visit(pixel(x, y));
    }
    int count(CGRect r, const Rgb& colour) const {
        int n = 0;
        forEach(r, [&](const Rgb& c) { n += c == colour; });
        return n;
    }
    int pixelCount(CGRect r) const {
        int n = 0;
        forEach(r, [&](const Rgb&) { ++n; });
        return n;
    }

private:
    cairo_surface_t* _image;
    double _scale;
};

class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "velkaro-sim-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        temp = pattern;
        restart({});
    }
    void TearDown() override {
        app.reset();
        std::error_code ec;
        std::filesystem::remove_all(temp, ec);
    }

    // A new app on a new device, with the options changed by `tweak`.
    void restart(const std::function<void(sim::SettingsApp::Options&)>& tweak) {
        app.reset();
        sim::SettingsApp::Options options;
        options.deviceRoot = temp / ("device" + std::to_string(++_starts));
        options.bundleDirectory = VELKARO_STAGED_BUNDLE;
        options.manualClock = true;
        if (tweak) tweak(options);
        app = std::make_unique<sim::SettingsApp>(options);
        std::string why;
        ASSERT_TRUE(app->start(&why)) << why;
    }
    void advance(double seconds) { app->advance(seconds); }
    static void writeFile(const std::filesystem::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    std::filesystem::path temp;
    std::unique_ptr<sim::SettingsApp> app;

private:
    int _starts = 0;
};

}  // namespace simtest
