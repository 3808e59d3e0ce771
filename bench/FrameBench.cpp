// Drawing the simulated screen: one frame of the pane's root page (at the window's 1x and the
// snapshots' 2x); the busiest screen (the configuration page under the slider's pop-up and its
// keyboard) and a frame from the middle of every animation, at 2x; and a cold start to the first
// frame (the app set up on a new device, the pane opened, the screen drawn). Medians are reported
// with their ratio to the aims: a still frame under 4 ms, a busy or moving one within a 120 Hz
// frame (8.3 ms), the first frame under 150 ms. The very first start in the process (module
// loading, font caches filled) is timed on its own before the repeated runs.
#include <benchmark/benchmark.h>
#include <cairo.h>
#include <stdlib.h>

#include <chrono>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <string>

#include <sstream>
#include <vector>

#include "simulator/Renderer.h"
#include "simulator/ScriptRunner.h"
#include "simulator/SettingsApp.h"

namespace {

constexpr double kFrameAimMs = 4;
constexpr double kMovingFrameAimMs = 8.3;
constexpr double kFirstFrameAimMs = 150;

// A fresh temporary device folder, removed again when done.
class TempDevice {
public:
    TempDevice() {
        std::string pattern = (std::filesystem::temp_directory_path() / "velkaro-bench-XXXXXX").string();
        if (mkdtemp(pattern.data())) _path = pattern;
    }
    ~TempDevice() {
        std::error_code ec;
        std::filesystem::remove_all(_path, ec);
    }
    const std::filesystem::path& path() const { return _path; }

private:
    std::filesystem::path _path;
};

std::unique_ptr<sim::SettingsApp> startApp(const std::filesystem::path& deviceRoot) {
    sim::SettingsApp::Options options;
    options.deviceRoot = deviceRoot;
    options.bundleDirectory = VELKARO_STAGED_BUNDLE;
    options.manualClock = true;
    auto app = std::make_unique<sim::SettingsApp>(options);
    std::string why;
    if (!app->start(&why)) {
        std::cerr << "FrameBench: the app does not start: " << why << "\n";
        return nullptr;
    }
    return app;
}

// Start, open the pane, draw: what a user waits for before the pane shows.
bool coldStartToFirstFrame(const std::filesystem::path& deviceRoot, cairo_surface_t* target, double scale) {
    auto app = startApp(deviceRoot);
    if (!app || !app->openBundleEntry()) return false;
    cairo_t* cr = cairo_create(target);
    sim::Renderer::draw(*app, cr, scale);
    cairo_destroy(cr);
    cairo_surface_flush(target);
    return true;
}

// Draws the app's screen once per iteration into one reused target, as a window redraws.
void drawFrames(benchmark::State& state, const sim::SettingsApp& app, double scale) {
    const CGSize size = app.screenSize();
    cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(size.width * scale),
        static_cast<int>(size.height * scale));
    for (auto _ : state) {
        cairo_t* cr = cairo_create(target);
        sim::Renderer::draw(app, cr, scale);
        cairo_destroy(cr);
        cairo_surface_flush(target);
        benchmark::DoNotOptimize(cairo_image_surface_get_data(target));
    }
    cairo_surface_destroy(target);
}

void BM_RootPageFrame(benchmark::State& state) {
    const double scale = static_cast<double>(state.range(0));
    TempDevice device;
    auto app = startApp(device.path());
    if (!app || !app->openBundleEntry()) {
        state.SkipWithError("the pane does not open");
        return;
    }
    app->advance(1.2);  // the logo has faded in
    drawFrames(state, *app, scale);
}
BENCHMARK(BM_RootPageFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The screens a frame is drawn of, each reached by a script on a manual clock: the busiest
// settled screen, then each animation caught halfway (the clock stays there while it is drawn).
struct Scene {
    const char* name;
    const char* script;
};
const Scene kScenes[] = {
    {"busiest: configuration, pop-up, keyboard",
        "open-bundle\nwait 1.2\ntap @label=Configuration\nvalue @key=artworkOffset\ntype 12\nwait 1"},
    {"push", "open-bundle\nwait 1.2\ntap @label=Configuration\nwait 0.12"},
    {"pop", "open-bundle\nwait 1.2\ntap @label=Configuration\nback\nwait 0.12"},
    {"alert and keyboard in", "open-bundle\nwait 1.2\ntap @label=Configuration\nvalue @key=artworkOffset\nwait 0.1"},
    {"alert and keyboard out", "open-bundle\nwait 1.2\ntap @label=Configuration\nvalue @key=artworkOffset\npress Cancel\nwait 0.1"},
    {"switch", "open-bundle\nwait 1.2\ntap @label=Configuration\ntoggle @key=showArtwork\nwait 0.12"},
    {"row selection fading", "open-bundle\nwait 1.2\ntap @label=Configuration\nback\nwait 0.3"},
    {"share sheet up", "open-bundle\nwait 1.2\naccount twitter on\ncompose\nwait 0.2"},
    {"share sheet down", "open-bundle\nwait 1.2\naccount twitter on\ncompose\nsheet cancel\nwait 0.2"},
    {"mail composer up", "open-bundle\nwait 1.2\naccount mail on\ntap @action=emailKX\nwait 0.2"},
};

void BM_SceneFrame(benchmark::State& state) {
    const Scene& scene = kScenes[state.range(0)];
    state.SetLabel(scene.name);
    TempDevice device;
    auto app = startApp(device.path());
    if (!app) {
        state.SkipWithError("the app does not start");
        return;
    }
    std::istringstream script(scene.script);
    std::ostringstream out, err;
    if (sim::ScriptRunner(*app, out, err, {true, false, {}}).run(script) != 0) {
        state.SkipWithError(("the scene's script fails: " + err.str()).c_str());
        return;
    }
    const double scale = 2;
    drawFrames(state, *app, scale);
}
BENCHMARK(BM_SceneFrame)->DenseRange(0, std::size(kScenes) - 1)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_ColdStartToFirstFrame(benchmark::State& state) {
    cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 375, 667);
    for (auto _ : state) {
        state.PauseTiming();
        auto device = std::make_unique<TempDevice>();
        state.ResumeTiming();
        if (!coldStartToFirstFrame(device->path(), target, 1)) {
            state.SkipWithError("the pane does not open");
            break;
        }
        state.PauseTiming();
        device.reset();
        state.ResumeTiming();
    }
    cairo_surface_destroy(target);
}
BENCHMARK(BM_ColdStartToFirstFrame)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)->ReportAggregatesOnly(true);

// The console report, plus each median's ratio to its aim.
class AimReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& run : runs)
            if (run.aggregate_name == "median")
                _medians[run.benchmark_name() + (run.report_label.empty() ? "" : " (" + run.report_label + ")")] =
                    run.GetAdjustedRealTime();
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const auto& [name, ms] : _medians) {
            const double aim = name.find("ColdStart") != std::string::npos ? kFirstFrameAimMs
                               : name.find("Scene") != std::string::npos  ? kMovingFrameAimMs
                                                                          : kFrameAimMs;
            std::cout << name << ": " << ms << " ms, " << ms / aim << " of the " << aim << " ms aim\n";
        }
    }

private:
    std::map<std::string, double> _medians;
};

}  // namespace

int main(int argc, char** argv) {
    {
        // The first start in the process: the module is loaded and the fonts are found.
        TempDevice device;
        cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 375, 667);
        const auto start = std::chrono::steady_clock::now();
        const std::clock_t cpuStart = std::clock();
        const bool ok = coldStartToFirstFrame(device.path(), target, 1);
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        const double cpuMs = 1000.0 * double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        cairo_surface_destroy(target);
        if (ok)
            std::cout << "first start in the process to first frame: " << ms << " ms (CPU " << cpuMs << " ms), "
                      << ms / kFirstFrameAimMs << " of the " << kFirstFrameAimMs << " ms aim\n";
    }
    benchmark::Initialize(&argc, argv);
    AimReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
