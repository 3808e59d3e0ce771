#pragma once
// The simulated device, whole: its folder on this machine and the device root installed there,
// the staged bundle mounted at its device path, the seeded package database, the profile, the
// clock and the event log, and every piece of process-wide state the platform's classes keep
// (shown alerts, appearance proxies, notification observers, the shared application, bundle
// caches, armed failures). Constructing one gives a fresh device; destroying it resets all of it
// and removes a temporary folder. The simulator, the test fixtures and the benchmarks all make
// their device this way.
//
// The newest device is the one in force. When a newer one is made while an older one lives (a
// test fixture's device under an application that makes its own), the older one, when it ends,
// only removes its own temporary folder and leaves the process to the newer one.
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "host/Runtime/EventLog.h"

namespace host {

class SimulatedDevice {
public:
    struct Options {
        // The device's folder on this machine (created if missing, kept afterwards); empty: a
        // temporary folder, removed when the device ends.
        std::filesystem::path deviceRoot{};
        // The staged bundle (module and resources), mounted at its device path, which is also the
        // bundle of classes registered outside any loading module; either empty: no bundle.
        std::filesystem::path bundleDirectory{};
        std::string bundleDevicePath{};
        // The host's own bundle (its strings tables), mounted at kHostBundlePath; empty: none.
        std::filesystem::path hostResources = builtInHostResources();
        // Files the device starts with where it has none yet (its package database).
        std::filesystem::path seedDirectory = builtInSeed();
        std::string profile = "iphone6s";       // a built-in profile; an unknown name falls back to this one
        std::vector<std::string> languages{};   // preferred languages; empty: the profile's
        std::optional<std::set<std::string>> installedSchemes{};  // URL schemes; empty optional: the profile's
        std::optional<bool> twitterAccount{};   // share-sheet service available
        std::optional<bool> mailAccount{};
        bool manualClock = true;                // time moves only when told; false: the steady clock
        // Hears every event from the first one of the set-up on (the simulator's log and notes).
        EventLog::Listener listener{};
    };

    // Where the Settings host's own bundle sits on the device.
    static constexpr const char* kHostBundlePath = "/Applications/Preferences.app";
    // The seed every device starts from unless told otherwise.
    static std::filesystem::path builtInSeed();
    static std::filesystem::path builtInHostResources();

    SimulatedDevice() : SimulatedDevice(Options{}) {}
    explicit SimulatedDevice(Options options);
    ~SimulatedDevice();
    SimulatedDevice(const SimulatedDevice&) = delete;
    SimulatedDevice& operator=(const SimulatedDevice&) = delete;

    // The device root on this machine (absolute).
    const std::filesystem::path& root() const { return _options.deviceRoot; }
    // The temporary folder holding the root, for files that belong beside the device (a bundle
    // copy, say); empty when the root was given.
    const std::filesystem::path& temporaryFolder() const { return _temporary; }
    const Options& options() const { return _options; }

    // A platform class that keeps process-wide state registers how to forget it, with one static
    // line in its own source file:
    //   const host::SimulatedDevice::ResetStep forgetShownAlerts{[] { shown().clear(); }};
    // Every step runs when a device is made and when the device in force ends.
    class ResetStep {
    public:
        explicit ResetStep(void (*step)());
    };

private:
    static void resetProcessState();

    Options _options;
    std::filesystem::path _temporary;
};

}  // namespace host
