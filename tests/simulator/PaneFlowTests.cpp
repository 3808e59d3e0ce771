// The pane used end to end through the Settings application, as a person would use it.
#include <functional>
#include <set>
#include <tuple>

#include "host/UIKit/UIAlertView.h"
#include "tests/simulator/SimulatorFixture.h"

class PaneFlowTest : public SimulatorFixture {};

// An accepted value is shown again when the page is opened anew; a value past the row's range is
// refused. (Entering, storing and posting are the cell's own, checked with it and by the script
// test.)
TEST_F(PaneFlowTest, SliderValuesAreKeptAcrossVisitsAndRefusedPastTheRowsRange) {
    const std::tuple<const char*, const char*, std::optional<double>> cases[] = {
        {"Corner radius", "cornerRadius", 7.5}, {"Background blur", "backgroundBlur", std::nullopt},  // 1.5 typed
    };
    for (const auto& [row, key, value] : cases) {
        SCOPED_TRACE(row);
        open();
        tap("Configuration");
        ASSERT_TRUE(app->tapValueButton(rowOf(row)) && app->typeText(value ? "7" : "1") && app->pressKeypadKey("Point") && app->typeText("5")
            && app->pressAlertButton("Enter"));
        EXPECT_EQ(app->topAlert() ? app->topAlert()->title() : "", value ? "" : "Error");
        EXPECT_EQ(stored(key), value ? PlistValue(*value) : PlistValue());
        if (!value) continue;
        ASSERT_TRUE(app->goBack());
        tap("Configuration");
        EXPECT_NEAR(slider(row)->value(), *value, 1e-4) << "the row shows the stored value";
    }
}

// What the pane leaves silent the simulator says in a note, for a few seconds of the simulated
// clock: a sheet or composer that cannot come up, where a sent mail went, a link opened or not.
TEST_F(PaneFlowTest, NotesSayWhatHappenedForAFewSimulatedSeconds) {
    const auto outbox = [this] { return (options.deviceRoot / "var/mobile/Library/Mail/Outbox/1.eml").string(); };
    const auto openMaker = [&] { tap("Makers"); tap("skyvane"); };
    const std::tuple<const char*, std::function<void(sim::SettingsApp::Options&)>, std::function<void()>,
        std::function<std::string()>> cases[] = {
        {"share sheet without an account", [](auto& o) { o.twitterAccount = false; },
            [&] { tap("Configuration"); ASSERT_TRUE(app->tapRightBarButton()); },
            [] { return "No share sheet: the device has no microblogging account"; }},
        {"composer without an account", [](auto& o) { o.mailAccount = false; }, [&] { tap("Email Support"); },
            [] { return "No mail composer: the device has no mail account"; }},
        {"mail sent", {},
            [&] {
                tap("Email Support");
                EXPECT_FALSE(app->tapRow(rowOf("Enabled")) || app->goBack()) << "the composer is modal";
                ASSERT_TRUE(app->finishMail(true));
                EXPECT_TRUE(std::filesystem::is_regular_file(outbox()));
            },
            [&] { return "Mail sent, saved in the outbox as " + outbox(); }},
        {"link opened in the first installed client",
            [](auto& o) { o.installedSchemes = std::set<std::string>{"https", "http", "mailto", "tweetbot"}; }, openMaker,
            [] { return "Opened tweetbot:///user_profile/skyvane_dev"; }},
        {"link with no app for it", [](auto& o) { o.installedSchemes = std::set<std::string>{}; }, openMaker,
            [] { return "No app on this device opens https://mobile.twitter.com/skyvane_dev"; }},
    };
    for (const auto& [name, tweak, act, note] : cases) {
        SCOPED_TRACE(name);
        // An init-capture: clang 14 cannot capture a structured binding.
        restart([&tweak = tweak](sim::SettingsApp::Options& o) {
            o.twitterAccount = o.mailAccount = std::nullopt;
            o.installedSchemes.reset();
            if (tweak) tweak(o);
        });
        ASSERT_TRUE(app->openBundleEntry());
        act();
        EXPECT_EQ(app->note().value_or("").substr(0, note().size()), note());
        advance(2.9);
        EXPECT_TRUE(app->note());
        advance(0.2);
        EXPECT_FALSE(app->note());
    }
}
