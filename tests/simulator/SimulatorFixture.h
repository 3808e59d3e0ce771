#pragma once
// A fresh simulated device for every test, driven through the Settings application itself (a
// device root in the fixture's temporary folder, the staged bundle or a writable copy, a manual
// clock), and the drawn screen read back as pixels. The application makes its own device, which
// takes over from the fixture's while it runs.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>

#include "host/Preferences/PSListController.h"
#include "host/Preferences/PSSliderTableCell.h"
#include "host/Preferences/PreferenceStore.h"
#include "simulator/Renderer.h"
#include "simulator/ScreenColumns.h"
#include "simulator/ScriptRunner.h"
#include "simulator/ScreenLayout.h"
#include "simulator/SettingsApp.h"
#include "tests/support/DeviceFixture.h"
#include "tests/support/Files.h"

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
    // A device pixel; outside the image, rgb(-1, -1, -1).
    Rgb pixel(int x, int y) const {
        if (x < 0 || y < 0 || x >= cairo_image_surface_get_width(_image) || y >= cairo_image_surface_get_height(_image))
            return {-1, -1, -1};
        const auto* row = cairo_image_surface_get_data(_image) + y * cairo_image_surface_get_stride(_image);
        const std::uint32_t v = reinterpret_cast<const std::uint32_t*>(row)[x];
        return {int(v >> 16 & 0xff), int(v >> 8 & 0xff), int(v & 0xff)};
    }
    // The pixel under a point of the screen (points).
    Rgb at(CGPoint p) const { return pixel(int(std::floor(p.x * _scale)), int(std::floor(p.y * _scale))); }
    // The pixels of a rect (points) that `match`.
    int count(CGRect r, const std::function<bool(const Rgb&)>& match) const {
        int n = 0;
        for (int y = int(std::floor(r.minY() * _scale)); y < int(std::floor(r.maxY() * _scale)); ++y)
            for (int x = int(std::floor(r.minX() * _scale)); x < int(std::floor(r.maxX() * _scale)); ++x) n += match(pixel(x, y));
        return n;
    }
    int count(CGRect r, const Rgb& colour) const {
        return count(r, [&](const Rgb& c) { return c == colour; });
    }

private:
    cairo_surface_t* _image;
    double _scale;
};

}  // namespace simtest

class SimulatorFixture : public DeviceFixture {
protected:
    void SetUp() override {
        DeviceFixture::SetUp();
        options.deviceRoot = temp / "app-device";
        options.bundleDirectory = VELKARO_STAGED_BUNDLE;
        options.manualClock = true;
    }
    void TearDown() override {
        app.reset();
        DeviceFixture::TearDown();
    }

    // Starts the application with `options`; false when the bundle could not be loaded.
    bool start(std::string* error = nullptr) {
        app.reset();  // one application at a time: it owns the host's shared state
        app = std::make_unique<sim::SettingsApp>(options);
        return app->start(error);
    }
    // Starts on a new device, with the options changed by `tweak`.
    void restart(const std::function<void(sim::SettingsApp::Options&)>& tweak = {}) {
        options.deviceRoot = temp / ("device" + std::to_string(++_starts));
        if (tweak) tweak(options);
        std::string error;
        ASSERT_TRUE(start(&error)) << error;
    }
    // Starts on a new device and opens the pane's root page.
    void open() {
        restart();
        ASSERT_TRUE(app->openBundleEntry());
    }
    void advance(double seconds) { app->advance(seconds); }

    // A copy of the staged bundle that a test may break; the app will load it.
    std::filesystem::path writableBundle() {
        const auto copy = temp / ("Velkaro" + std::to_string(++_bundles) + ".bundle");
        std::filesystem::copy(VELKARO_STAGED_BUNDLE, copy, std::filesystem::copy_options::recursive);
        options.bundleDirectory = copy;
        return copy;
    }

    void tap(const std::string& title) {
        auto row = app->rowTitled(title);
        ASSERT_TRUE(row) << "no row \"" << title << "\"";
        ASSERT_TRUE(app->tapRow(*row)) << title;
    }
    NSIndexPath rowOf(const std::string& title) {
        auto row = app->rowTitled(title);
        EXPECT_TRUE(row) << "no row \"" << title << "\"";
        return row.value_or(NSIndexPath{-1, -1});
    }
    // The slider of the row titled `title` on the visible page.
    std::shared_ptr<UISlider> slider(const std::string& title) {
        auto cell = std::dynamic_pointer_cast<PSSliderTableCell>(app->visiblePage()->table()->cellForRowAtIndexPath(rowOf(title)));
        return cell ? cell->control() : nullptr;
    }
    // The screen rect of the first view `pick` finds in the visible page's cells (in the pane's column).
    std::optional<CGRect> viewRect(const std::function<std::shared_ptr<UIView>(const std::shared_ptr<UITableViewCell>&)>& pick) const {
        auto table = app->visiblePage()->table();
        for (const auto& section : table->sections())
            for (const auto& row : section.rows) {
                auto view = row.cell ? pick(row.cell) : nullptr;
                if (!view) continue;
                const CGPoint origin = view->convertPointToAncestor({0, 0}, row.cell.get());
                const CGFloat column = sim::ScreenColumns::paneFrame(app->screenSize()).minX();
                return CGRectMake(column + row.rect.minX() + origin.x,
                    sim::ScreenLayout::kContentTop + row.rect.minY() - table->contentOffset() + origin.y, view->frame().width(),
                    view->frame().height());
            }
        return std::nullopt;
    }
    std::optional<CGRect> sliderRect(const std::string& title) {
        auto control = slider(title);
        return viewRect([&](const std::shared_ptr<UITableViewCell>& cell) -> std::shared_ptr<UIView> {
            auto row = std::dynamic_pointer_cast<PSSliderTableCell>(cell);
            return row && control && row->control() == control ? control : nullptr;
        });
    }

    std::string diagnostics() const {
        std::string all;
        for (const auto& e : events("diagnostic")) all += e.field("message") + "\n";
        return all;
    }
    PlistValue stored(const std::string& key) const { return host::PreferenceStore::valueForKey("com.mornvale.velkaro", key); }
    static std::string readAll(const std::filesystem::path& path) { return test::readFile(path); }
    static void writeFile(const std::filesystem::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }

    // Runs `script` on the application, as --script does: the count of failing lines and what it said.
    struct ScriptRun {
        int failures;
        std::string out, err;
    };
    ScriptRun runScript(const std::string& script, bool strict = false) {
        std::istringstream in(script);
        std::ostringstream out, err;
        const int failures = sim::ScriptRunner(*app, out, err, {strict, false, {}}).run(in);
        return {failures, out.str(), err.str()};
    }

    sim::SettingsApp::Options options;
    std::unique_ptr<sim::SettingsApp> app;

private:
    int _starts = 0, _bundles = 0;
};
