// The pane used end to end through the Settings application, as a person would use it.
#include <functional>
#include <set>
#include <tuple>

#include "host/MessageUI/MFMailComposeViewController.h"
#include "host/Social/SLComposeViewController.h"
#include "host/UIKit/UIAlertView.h"
#include "tests/simulator/SimulatorFixture.h"

class PaneFlowTest : public SimulatorFixture {};

// Through the application: accepted values are stored, shown, kept when the page is opened again
// and announced; values past the row's range are refused. (The range rules, what a refusal leaves
// and the post's timing are the cell's own, checked with it.)
TEST_F(PaneFlowTest, SliderPopupStoresTheTypedValueAndPostsLater) {
    const std::tuple<const char*, const char*, std::vector<std::string>, std::optional<double>> cases[] = {
        // row, its preference, digits or keypad keys typed, what is stored (nothing: refused)
        {"Artwork offset", "artworkOffset", {"12", "Negate"}, -12.0},
        {"Corner radius", "cornerRadius", {"7", "Point", "5"}, 7.5},
        {"Corner radius", "cornerRadius", {"42"}, std::nullopt},
        {"Background blur", "backgroundBlur", {"1", "Point", "5"}, std::nullopt},
    };
    for (const auto& [row, key, keys, value] : cases) {
        SCOPED_TRACE(row);
        open();
        tap("Configuration");
        ASSERT_TRUE(app->tapValueButton(rowOf(row)));
        for (const auto& k : keys) ASSERT_TRUE(k == "Negate" || k == "Point" ? app->pressKeypadKey(k) : app->typeText(k)) << k;
        ASSERT_TRUE(app->pressAlertButton("Enter"));
        if (!value) {  // past the row's range
            ASSERT_TRUE(app->topAlert());
            EXPECT_EQ(app->topAlert()->title(), "Error");
            EXPECT_TRUE(stored(key).isNil());
            continue;
        }
        EXPECT_FALSE(app->topAlert());
        ASSERT_TRUE(stored(key).number());
        EXPECT_NEAR(*stored(key).number(), *value, 1e-4);
        EXPECT_NEAR(slider(row)->value(), *value, 1e-4);
        app->advance(0.25);
        const auto posted = events("notification");
        ASSERT_EQ(posted.size(), 1u);
        EXPECT_EQ(posted[0].field("name"), "com.mornvale.velkaro/ReloadPrefs");
        ASSERT_TRUE(app->goBack());
        tap("Configuration");
        EXPECT_NEAR(slider(row)->value(), *value, 1e-4) << "the row shows the stored value";
    }
}

// A switch row stores its new value in the file the tweak reads and posts at once.
TEST_F(PaneFlowTest, SwitchRowStoresAndPosts) {
    open();
    const auto enabled = rowOf("Enabled");
    for (bool on : {false, true}) {
        ASSERT_TRUE(app->toggleSwitch(enabled));
        EXPECT_EQ(stored("enabled"), PlistValue(on));
    }
    const auto posted = events("notification");
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0].field("name"), "com.mornvale.velkaro/ReloadPrefs");
    EXPECT_NE(readAll(preferencesFile()).find("<key>enabled</key>"), std::string::npos);
}

// A maker's row opens the profile in an installed client, and the screen notes the address. (The
// clients' order, the web fallback and the escaping are the cell's own, checked with it.)
TEST_F(PaneFlowTest, MakerOpensTheProfileInTheFirstInstalledClient) {
    options.installedSchemes = std::set<std::string>{"https", "http", "mailto", "tweetbot"};
    open();
    tap("Makers");
    tap("skyvane");
    const auto opened = events("openURL");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].field("url"), "tweetbot:///user_profile/skyvane_dev");
    EXPECT_EQ(app->note(), "Opened tweetbot:///user_profile/skyvane_dev");
}

// The composer covers the page; sending writes the mail on the device, cancelling writes nothing.
// (What the mail holds is checked with the page and the composer.)
TEST_F(PaneFlowTest, SupportMailIsSentOrCancelledFromTheComposer) {
    open();
    tap("Email Support");
    ASSERT_TRUE(std::dynamic_pointer_cast<MFMailComposeViewController>(app->presentedController()));
    EXPECT_FALSE(app->tapRow(rowOf("Enabled"))) << "the page is covered by the composer";
    ASSERT_TRUE(app->finishMail(true));
    const auto mails = events("mail");
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_TRUE(std::filesystem::is_regular_file(options.deviceRoot / mails[0].field("path").substr(1))) << mails[0].field("path");
    tap("Email Support");
    ASSERT_TRUE(app->finishMail(false));
    EXPECT_EQ(events("mail").size(), 1u);
    EXPECT_FALSE(app->presentedController());
}

// The compose button opens the modal share sheet only with an account. (Its text is the page's.)
TEST_F(PaneFlowTest, ShareSheetShowsOnlyWithAnAccount) {
    for (bool account : {false, true}) {
        SCOPED_TRACE(account ? "with an account" : "without an account");
        options.twitterAccount = account;
        open();
        tap("Configuration");
        ASSERT_TRUE(app->tapRightBarButton());
        auto sheet = std::dynamic_pointer_cast<SLComposeViewController>(app->presentedController());
        ASSERT_EQ(bool(sheet), account);
        if (!sheet) continue;
        EXPECT_FALSE(app->goBack()) << "the sheet is modal";
        ASSERT_TRUE(app->finishSheet(true));
        EXPECT_FALSE(app->presentedController());
        EXPECT_TRUE(app->goBack());
    }
}

// What the pane leaves silent the simulator says in a note, for a few seconds of the simulated
// clock: a sheet or composer that cannot come up, where a sent mail went, a link opened or not.
TEST_F(PaneFlowTest, NotesSayWhatHappenedForAFewSimulatedSeconds) {
    const auto outbox = [this] { return (options.deviceRoot / "var/mobile/Library/Mail/Outbox/1.eml").string(); };
    const std::tuple<const char*, std::function<void(sim::SettingsApp::Options&)>, std::function<void()>,
        std::function<std::string()>> cases[] = {
        {"share sheet without an account", [](auto& o) { o.twitterAccount = false; },
            [&] {
                tap("Configuration");
                ASSERT_TRUE(app->tapRightBarButton());
            },
            [] { return "No share sheet: the device has no microblogging account"; }},
        {"composer without an account", [](auto& o) { o.mailAccount = false; }, [&] { tap("Email Support"); },
            [] { return "No mail composer: the device has no mail account"; }},
        {"mail sent", {},
            [&] {
                tap("Email Support");
                ASSERT_TRUE(app->finishMail(true));
                EXPECT_TRUE(std::filesystem::is_regular_file(outbox()));
            },
            [&] { return "Mail sent, saved in the outbox as " + outbox(); }},
        {"link with no app for it", [](auto& o) { o.installedSchemes = std::set<std::string>{}; },
            [&] {
                tap("Makers");
                tap("skyvane");
            },
            [] { return "No app on this device opens https://mobile.twitter.com/skyvane_dev"; }},
    };
    for (const auto& [name, tweak, act, note] : cases) {
        SCOPED_TRACE(name);
        restart([&](sim::SettingsApp::Options& o) {
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
