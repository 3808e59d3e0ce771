#pragma once
// The shared test fixture: a fresh simulated device for every test. It installs a device root in
// a temporary folder with the staged bundle mounted at its device path, a manual clock at 0, the
// "iphone6s" profile, and empties the event log, which is the recorder of everything that
// reached the outside (preferences, notifications, opened addresses, sheets, mails, diagnostics).
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host/Runtime/EventLog.h"

class UIViewController;
class PSRootController;

class DeviceFixture : public ::testing::Test {
protected:
    static constexpr const char* kBundlePath = "/Library/PreferenceBundles/Velkaro.bundle";

    void SetUp() override;
    void TearDown() override;

    // Installs a built-in profile ("iphone6", "iphone6s", "ipad-air2", "iphone7") and flushes the
    // bundle caches so a language change takes effect.
    void useProfile(const std::string& name);
    // Moves the manual clock forward, running what falls due.
    void advance(double seconds);
    std::vector<host::Event> events(const std::string& kind) const;
    std::vector<std::string> diagnostics() const;

    // Where a device path lives on this machine.
    std::filesystem::path hostPath(const std::string& devicePath) const;
    // Copies the staged bundle into the device root and mounts the copy, so a test can change or
    // break its files. Returns the copy's folder.
    std::filesystem::path useWritableBundleCopy();
    void writeFile(const std::string& devicePath, const std::string& bytes) const;

    // The Settings host's navigation for the current profile: a root navigation controller and,
    // in the nested-bar range, a second one inside it. `page` is pushed onto the innermost one,
    // appearing as the host shows it (view loaded, viewWillAppear:).
    std::shared_ptr<PSRootController> showPage(const std::shared_ptr<UIViewController>& page);

    std::filesystem::path root;

private:
    std::filesystem::path _temp;
};
