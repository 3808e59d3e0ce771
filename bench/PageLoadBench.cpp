// Loading a page's rows with localization, next to libplist's raw parse of the same file:
// the root page, generated pages of growing size (to see that loading stays linear), and one
// long page as XML and as binary (binary must not load slower than its XML twin).
#include <benchmark/benchmark.h>
#include <plist/plist.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "host/Foundation/NSBundle.h"
#include "host/Runtime/PropertyList.h"
#include "host/Runtime/DeviceProfile.h"
#include "host/Runtime/SimulatedDevice.h"
#include "pages/KXVelkaroListController.h"

namespace {

constexpr const char* kBundlePath = "/Library/PreferenceBundles/Velkaro.bundle";
constexpr int kLongPage = 60000;

std::string readAll(const std::filesystem::path& path);
std::string plistName(int rows);

// A device with a copy of the staged bundle, plus generated pages "Rows<N>".
struct Device {
    std::filesystem::path dir;
    std::optional<host::SimulatedDevice> device;
    Device() {
        std::string pattern = (std::filesystem::temp_directory_path() / "velkaro-bench-XXXXXX").string();
        dir = mkdtemp(pattern.data());
        std::filesystem::copy(VELKARO_STAGED_BUNDLE, dir / "bundle", std::filesystem::copy_options::recursive);
        device.emplace(host::SimulatedDevice::Options{
            .deviceRoot = dir / "device", .bundleDirectory = dir / "bundle", .bundleDevicePath = kBundlePath});
        for (int rows : {1000, 10000, kLongPage}) writePage(rows);
        const auto xml = readAll(dir / "bundle" / (plistName(kLongPage) + ".plist"));
        std::ofstream(dir / "bundle" / (plistName(kLongPage) + "Binary.plist"), std::ios::binary)
            << host::PropertyList::serialize(*host::PropertyList::parse(xml), host::PropertyList::Format::Binary);
    }
    ~Device() {
        device.reset();
        std::filesystem::remove_all(dir);
    }

    // Groups of ten rows: a group with a footer, switches, a list row with titles.
    void writePage(int rows) const {
        std::ostringstream out;
        out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict><key>items</key><array>\n";
        for (int k = 0; k < rows; ++k) {
            if (k % 10 == 0)
                out << "<dict><key>cell</key><string>PSGroupCell</string><key>label</key><string>Appearance</string>"
                       "<key>footerText</key><string>The lock-screen player appears only while music is playing.</string></dict>\n";
            else if (k % 10 == 5)
                out << "<dict><key>cell</key><string>PSLinkListCell</string><key>label</key><string>Theme</string>"
                       "<key>key</key><string>theme" << k << "</string><key>defaults</key><string>com.mornvale.velkaro</string>"
                       "<key>validTitles</key><array><string>Automatic</string><string>Light</string><string>Dark</string></array>"
                       "<key>validValues</key><array><integer>0</integer><integer>1</integer><integer>2</integer></array></dict>\n";
            else
                out << "<dict><key>cell</key><string>PSSwitchCell</string><key>label</key><string>Enabled</string>"
                       "<key>key</key><string>enabled" << k << "</string><key>default</key><true/>"
                       "<key>defaults</key><string>com.mornvale.velkaro</string></dict>\n";
        }
        out << "</array></dict></plist>\n";
        std::ofstream(dir / "bundle" / ("Rows" + std::to_string(rows) + ".plist")) << out.str();
    }
};

Device& device() {
    static Device d;
    return d;
}

std::string readAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string plistName(int rows) { return rows == 0 ? "Velkaro" : "Rows" + std::to_string(rows); }

void RawParse(benchmark::State& state) {
    const auto path = device().dir / "bundle" / (plistName(int(state.range(0))) + ".plist");
    for (auto _ : state) {
        const std::string bytes = readAll(path);
        plist_t root = nullptr;
        plist_from_xml(bytes.data(), static_cast<uint32_t>(bytes.size()), &root);
        benchmark::DoNotOptimize(root);
        plist_free(root);
    }
}

// Loads and localizes the page list `name` through a page, in German, once per iteration.
void loadPage(benchmark::State& state, const std::string& name) {
    device();
    host::DeviceProfile::mutableCurrent().preferredLanguages = {"de"};
    NSBundle::flushCaches();
    auto page = std::make_shared<KXVelkaroListController>();
    std::size_t rows = 0;
    for (auto _ : state) {
        auto specifiers = page->specifiersForPlistName(name);
        rows = specifiers->size();
        benchmark::DoNotOptimize(specifiers);
    }
    state.counters["rows"] = double(rows);
}

void LoadAndLocalize(benchmark::State& state) { loadPage(state, plistName(int(state.range(0)))); }

// The long page, 0 as XML, 1 as binary.
void LoadLongPage(benchmark::State& state) { loadPage(state, plistName(kLongPage) + (state.range(0) ? "Binary" : "")); }

}  // namespace

// 0 stands for the root page "Velkaro".
BENCHMARK(RawParse)->Arg(0)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(LoadAndLocalize)->Arg(0)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(LoadLongPage)->ArgName("binary")->Arg(0)->Arg(1)->Iterations(1)->Repetitions(5)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
