// Time from emailKX to the mail composer on screen, with the device's package listing made by
// dpkg in the sandbox, and the listing alone: in the sandbox and run directly, for comparison.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "host/Preferences/PSClassFactories.h"
#include "host/MessageUI/MFMailComposeViewController.h"
#include "host/Preferences/PSRootController.h"
#include "host/Runtime/EventLog.h"
#include "host/Runtime/Shell.h"
#include "host/Runtime/SimulatedDevice.h"
#include "pages/VelkaroListController.h"

namespace {

constexpr const char* kBundlePath = "/Library/PreferenceBundles/Velkaro.bundle";

// A simulated iPhone 6s with the staged bundle and a stored preferences file.
class BenchDevice {
public:
    BenchDevice() : _device({.bundleDirectory = VELKARO_STAGED_BUNDLE, .bundleDevicePath = kBundlePath}) {
        std::error_code ec;
        std::filesystem::copy_file(std::string(VELKARO_STAGED_BUNDLE) + "/Info.plist",
            root() / "var/mobile/Library/Preferences/com.mornvale.velkaro.plist", ec);
        _ready = !ec && host::EventLog::shared().eventsOfKind("diagnostic").empty();
    }
    bool ok() const { return _ready; }
    const std::filesystem::path& root() const { return _device.root(); }

private:
    host::SimulatedDevice _device;
    bool _ready = false;
};

void BM_EmailKXToComposerPresented(benchmark::State& state) {
    BenchDevice device;
    if (!device.ok()) return state.SkipWithError("cannot set up the device");
    auto page = std::dynamic_pointer_cast<VelkaroListController>(
        host::createController("VelkaroListController"));
    auto navigation = std::make_shared<PSRootController>();
    navigation->pushViewController(page, false);

    for (auto _ : state) {
        page->emailKX();

        state.PauseTiming();
        auto composer = std::dynamic_pointer_cast<MFMailComposeViewController>(navigation->presentedViewController());
        if (!composer) return state.SkipWithError("the composer did not come up");
        composer->cancel();
        host::EventLog::shared().clear();
        state.ResumeTiming();
    }
    state.counters["listingBytes"] =
        double(std::filesystem::file_size(device.root() / "tmp/dpkgl.log"));
}
BENCHMARK(BM_EmailKXToComposerPresented)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PackageListingAlone(benchmark::State& state) {
    BenchDevice device;
    if (!device.ok()) return state.SkipWithError("cannot set up the device");
    for (auto _ : state) host::Shell::system("/usr/bin/dpkg -l >/tmp/dpkgl.log");
    host::EventLog::shared().clear();
}
BENCHMARK(BM_PackageListingAlone)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same listing of the same database by this machine's shell, without the sandbox.
void BM_PackageListingUnconfined(benchmark::State& state) {
    BenchDevice device;
    if (!device.ok()) return state.SkipWithError("cannot set up the device");
    const std::string command = "/usr/bin/dpkg --admindir='" + (device.root() / "var/lib/dpkg").string() + "' -l >'" +
                                (device.root() / "tmp/dpkgl.log").string() + "'";
    for (auto _ : state) benchmark::DoNotOptimize(std::system(command.c_str()));
}
BENCHMARK(BM_PackageListingUnconfined)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
