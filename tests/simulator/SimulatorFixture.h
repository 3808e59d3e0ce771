#pragma once
// A fresh simulated device for every test, driven through the Settings application itself: a
// temporary device root, the staged bundle (or a writable copy of it), a manual clock.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "host/Foundation/NSBundle.h"
#include "host/Preferences/PreferenceStore.h"
#include "host/System/DeviceRoot.h"
#include "host/System/EventLog.h"
#include "host/Preferences/PSListController.h"
#include "simulator/SettingsApp.h"

class SimulatorFixture : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "velkaro-sim-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        temp = pattern;
        options.deviceRoot = temp / "device";
        options.bundleDirectory = VELKARO_STAGED_BUNDLE;
        options.manualClock = true;
    }

    void TearDown() override {
        app.reset();
        NSBundle::flushCaches();
        host::DeviceRoot::uninstall();
        std::error_code ec;
        std::filesystem::remove_all(temp, ec);
    }

    // Starts the application with `options`; false when the bundle could not be loaded.
    bool start(std::string* error = nullptr) {
        app = std::make_unique<sim::SettingsApp>(options);
        return app->start(error);
    }
    // Starts and opens the pane's root page.
    void open() {
        std::string error;
        ASSERT_TRUE(start(&error)) << error;
        ASSERT_TRUE(app->openBundleEntry());
    }

    // A copy of the staged bundle that a test may break; the app will load it.
    std::filesystem::path writableBundle() {
        const auto copy = temp / "Velkaro.bundle";
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

    std::vector<host::Event> events(const std::string& kind) const { return host::EventLog::shared().eventsOfKind(kind); }
    std::string diagnostics() const {
        std::string all;
        for (const auto& e : events("diagnostic")) all += e.field("message") + "\n";
        return all;
    }
    PlistValue stored(const std::string& key) const { return host::PreferenceStore::valueForKey("com.mornvale.velkaro", key); }
    std::filesystem::path preferencesFile() const {
        return options.deviceRoot / "var/mobile/Library/Preferences/com.mornvale.velkaro.plist";
    }
    static std::string readAll(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    std::filesystem::path temp;
    sim::SettingsApp::Options options;
    std::unique_ptr<sim::SettingsApp> app;
};
