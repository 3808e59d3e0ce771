#pragma once
// The shared test fixture: a fresh simulated device for every test (host::SimulatedDevice) in a
// temporary folder, with the staged bundle mounted at its device path, a manual clock at 0, the
// "iphone6s" profile, and an empty event log, which is the recorder of everything that reached
// the outside (preferences, notifications, opened addresses, sheets, mails, diagnostics).
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/Runtime/EventLog.h"
#include "host/Runtime/SimulatedDevice.h"

class UIViewController;
class PSRootController;

class DeviceFixture : public ::testing::Test {
protected:
    static constexpr const char* kBundlePath = "/Library/PreferenceBundles/Velkaro.bundle";

    void SetUp() override;
    void TearDown() override;

    // Ends the device and starts a fresh one, as the test began: nothing an earlier step left
    // behind (stored files, alerts, pending tasks, events) remains.
    void freshDevice();

    // Installs a built-in profile ("iphone6", "iphone6s", "ipad-air2", "iphone7") and flushes the
    // bundle caches so a language change takes effect.
    void useProfile(const std::string& name);
    // Moves the manual clock forward, running what falls due.
    void advance(double seconds);
    std::vector<host::Event> events(const std::string& kind) const;
    std::vector<std::string> diagnostics() const;

    // Where a device path lives on this machine.
    std::filesystem::path hostPath(const std::string& devicePath) const;
    // Copies the staged bundle into the device's folder and mounts the copy, so a test can change
    // or break its files. Returns the copy's folder.
    std::filesystem::path useWritableBundleCopy();
    void writeFile(const std::string& devicePath, const std::string& bytes) const;

    // The Settings host's navigation for the current profile: a root navigation controller and,
    // where the host nests a bundle's pages, a second one inside it. `page` is pushed onto the
    // innermost one, appearing as the host shows it (view loaded, viewWillAppear:).
    std::shared_ptr<PSRootController> showPage(const std::shared_ptr<UIViewController>& page);

    std::filesystem::path root;  // the device root on this machine
    std::filesystem::path temp;  // the temporary folder that holds it, for files beside the device

private:
    std::optional<host::SimulatedDevice> _device;
};
