// The pane used end to end through the Settings application, as a person would use it.
#include <set>

#include "host/MessageUI/MFMailComposeViewController.h"
#include "host/Social/SLComposeViewController.h"
#include "host/UIKit/UIAlertView.h"
#include "tests/simulator/SimulatorFixture.h"

// Through the application: accepted values are stored, shown, kept when the page is opened again
// and announced; refused ones bring the error pop-up and store and post nothing. (The range rules
// and the post's timing are the cell's own, checked with it.)
TEST_F(SimulatorFixture, SliderPopupStoresTheTypedValueAndPostsLater) {
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
        if (!value) {
            ASSERT_TRUE(app->topAlert());
            EXPECT_EQ(app->topAlert()->title(), "Error");
            app->advance(1);
            EXPECT_TRUE(events("notification").empty());
            EXPECT_FALSE(std::filesystem::exists(preferencesFile()));
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
TEST_F(SimulatorFixture, SwitchRowStoresAndPosts) {
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

// A maker's row opens the profile in an installed client, else on the web site, and the screen
// notes the address. (The clients' order and the escaping are the cell's own, checked with it.)
TEST_F(SimulatorFixture, MakerOpensTheProfileInTheFirstInstalledClient) {
    const std::tuple<std::set<std::string>, const char*, std::string> cases[] = {
        {{"tweetbot"}, "skyvane", "tweetbot:///user_profile/skyvane_dev"},
        {{}, "skyvane", "https://"},  // no client: the web site, with the name as the path
    };
    for (const auto& [clients, maker, address] : cases) {
        SCOPED_TRACE(address);
        options.installedSchemes = std::set<std::string>{"https", "http", "mailto"};
        options.installedSchemes->insert(clients.begin(), clients.end());
        open();
        tap("Makers");
        tap(maker);
        const auto opened = events("openURL");
        ASSERT_EQ(opened.size(), 1u);
        const auto url = opened[0].field("url");
        if (clients.empty()) {
            EXPECT_EQ(url.rfind(address, 0), 0u) << url;
            EXPECT_EQ(url.substr(url.size() - 12), "/skyvane_dev") << url;
        } else {
            EXPECT_EQ(url, address);
        }
        EXPECT_EQ(app->note(), "Opened " + url);
    }
}

// The support mail is written as a message with the preferences and the package list attached;
// a cancelled composer writes nothing.
TEST_F(SimulatorFixture, SupportMailWritesAnEmlWithBothAttachments) {
    open();
    ASSERT_TRUE(app->toggleSwitch(rowOf("Hide volume slider")));  // so there are preferences to attach
    tap("Email Support");
    ASSERT_TRUE(std::dynamic_pointer_cast<MFMailComposeViewController>(app->presentedController()));
    EXPECT_FALSE(app->tapRow(rowOf("Enabled"))) << "the page is covered by the composer";
    ASSERT_TRUE(app->finishMail(true));
    const auto mails = events("mail");
    ASSERT_EQ(mails.size(), 1u);
    const auto eml = host::DeviceRoot::hostPathForDisplay(mails[0].field("path"));
    ASSERT_TRUE(eml && std::filesystem::exists(*eml)) << mails[0].field("path");
    const std::string text = readAll(*eml);
    const auto prefs = text.find("VelkaroPrefs.plist"), packages = text.find("dpkgl.txt");
    ASSERT_NE(prefs, std::string::npos);
    ASSERT_NE(packages, std::string::npos);
    EXPECT_LT(prefs, packages) << "the preferences come first";
    EXPECT_NE(text.find("application/xml"), std::string::npos);
    EXPECT_NE(text.find("Subject: Velkaro Support"), std::string::npos);
    tap("Email Support");
    ASSERT_TRUE(app->finishMail(false));
    EXPECT_EQ(events("mail").size(), 1u);
    EXPECT_FALSE(app->presentedController());
}

// The compose button, on every page, opens the modal share sheet only with an account.
TEST_F(SimulatorFixture, ShareSheetShowsOnlyWithAnAccount) {
    for (bool account : {false, true}) {
        SCOPED_TRACE(account ? "with an account" : "without an account");
        options.twitterAccount = account;
        open();
        tap("Configuration");
        ASSERT_TRUE(app->tapRightBarButton());
        auto sheet = std::dynamic_pointer_cast<SLComposeViewController>(app->presentedController());
        ASSERT_EQ(bool(sheet), account);
        if (!sheet) continue;
        EXPECT_EQ(sheet->text(), "#Velkaro is awesome!");
        EXPECT_FALSE(app->goBack()) << "the sheet is modal";
        ASSERT_TRUE(app->finishSheet(true));
        EXPECT_FALSE(app->presentedController());
        EXPECT_TRUE(app->goBack());
    }
}
