// Time from emailKX to the mail composer on screen, with the device's package listing made by
// dpkg in the sandbox, and the listing alone: in the sandbox and run directly, for comparison.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "host/Preferences/PSClassFactories.h"
#include "host/Runtime/RunLoop.h"
#include "host/MessageUI/MFMailComposeViewController.h"
#include "host/Preferences/PSRootController.h"
#include "host/Runtime/DeviceProfile.h"
#include "host/Runtime/DeviceRoot.h"
#include "host/Runtime/DeviceSeed.h"
#include "host/Runtime/EventLog.h"
#include "host/Runtime/Shell.h"
#include "pages/VelkaroListController.h"

namespace {

constexpr const char* kBundlePath = "/Library/PreferenceBundles/Velkaro.bundle";

// A simulated iPhone 6s with the staged bundle and a stored preferences file.
class BenchDevice {
public:
    BenchDevice() {
        std::string pattern = (std::filesystem::temp_directory_path() / "velkaro-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) return;
        root = pattern;
        std::filesystem::create_directories(root / "var/mobile/Library/Preferences");
        std::filesystem::create_directories(root / "tmp");
        if (!host::DeviceSeed::plant(VELKARO_SOURCE_DIR "/simulator/device", root)) return;
        host::DeviceRoot::install(root);
        host::DeviceRoot::mount(kBundlePath, VELKARO_STAGED_BUNDLE);
        host::ClassRegistry::shared().setDefaultBundlePath(std::string(kBundlePath));
        host::DeviceProfile::install(*host::DeviceProfile::builtInNamed("iphone6s"));
        host::RunLoop::main().reset(0);
        std::filesystem::copy_file(std::string(VELKARO_STAGED_BUNDLE) + "/Info.plist",
            root / "var/mobile/Library/Preferences/com.mornvale.velkaro.plist");
        ready = true;
    }
    ~BenchDevice() {
        host::DeviceRoot::uninstall();
        std::error_code ec;
        if (!root.empty()) std::filesystem::remove_all(root, ec);
    }
    bool ok() const { return ready; }

    std::filesystem::path root;
    bool ready = false;
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
        double(std::filesystem::file_size(device.root / "tmp/dpkgl.log"));
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
    const std::string command = "/usr/bin/dpkg --admindir='" + (device.root / "var/lib/dpkg").string() + "' -l >'" +
                                (device.root / "tmp/dpkgl.log").string() + "'";
    for (auto _ : state) benchmark::DoNotOptimize(std::system(command.c_str()));
}
BENCHMARK(BM_PackageListingUnconfined)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
