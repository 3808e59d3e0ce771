// The pane used end to end through the Settings application, as a person would use it.
#include <set>

#include "host/MessageUI/MFMailComposeViewController.h"
#include "host/Preferences/PSListController.h"
#include "host/Preferences/PSSliderTableCell.h"
#include "host/Social/SLComposeViewController.h"
#include "host/UIKit/UIAlertView.h"
#include "tests/simulator/SimulatorFixture.h"

namespace {

// A slider's pop-up: what is typed (digits, and "-"/"." through the keypad keys) and what comes of it.
struct SliderEntry {
    const char* row;
    const char* key;                // its preference
    std::vector<std::string> keys;  // "Negate", "Point", or digits to type
    std::optional<double> stored;   // nothing: refused with the error pop-up
};

}  // namespace

// Accepted values are stored at once and announced 0.2 s later; refused ones bring the error
// pop-up and store and post nothing.
TEST_F(SimulatorFixture, SliderPopupStoresTheTypedValueAndPostsLater) {
    const std::vector<SliderEntry> cases{
        {"Artwork offset", "artworkOffset", {"12", "Negate"}, -12.0},
        {"Corner radius", "cornerRadius", {"7", "Point", "5"}, 7.5},
        {"Corner radius", "cornerRadius", {"10"}, 10.0},  // the range is closed
        {"Corner radius", "cornerRadius", {"42"}, std::nullopt},
        {"Background blur", "backgroundBlur", {"1", "Point", "5"}, std::nullopt},
        {"Animation duration (ms)", "animationDuration", {"1000"}, 1000.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.row));
        open();
        tap("Configuration");
        const std::string key = c.key;
        ASSERT_TRUE(app->tapValueButton(rowOf(c.row)));
        ASSERT_TRUE(app->topAlert());
        for (const auto& k : c.keys) {
            if (k == "Negate" || k == "Point") ASSERT_TRUE(app->pressKeypadKey(k)) << k;
            else ASSERT_TRUE(app->typeText(k));
        }
        const double t0 = app->now();
        ASSERT_TRUE(app->pressAlertButton("Enter"));
        if (!c.stored) {
            ASSERT_TRUE(app->topAlert());
            EXPECT_EQ(app->topAlert()->title(), "Error");
            EXPECT_TRUE(stored(key).isNil());
            app->advance(1);
            EXPECT_TRUE(events("notification").empty());
            EXPECT_FALSE(std::filesystem::exists(preferencesFile()));
        } else {
            EXPECT_FALSE(app->topAlert());
            ASSERT_TRUE(std::filesystem::exists(preferencesFile()));
            ASSERT_TRUE(stored(key).number());
            EXPECT_NEAR(*stored(key).number(), *c.stored, 1e-4);
            app->advance(0.19);
            EXPECT_TRUE(events("notification").empty()) << "posted before 0.2 s";
            app->advance(0.02);
            const auto posted = events("notification");
            ASSERT_EQ(posted.size(), 1u);
            EXPECT_EQ(posted[0].field("name"), "com.mornvale.velkaro/ReloadPrefs");
            EXPECT_NEAR(posted[0].time - t0, 0.2, 1e-9);
        }
        TearDown();
        SetUp();
    }
}

// The slider moves to an accepted value, and the row keeps it when the page is opened again.
TEST_F(SimulatorFixture, AcceptedValueMovesTheSliderAndSurvivesReopening) {
    open();
    tap("Configuration");
    const auto path = rowOf("Corner radius");
    ASSERT_TRUE(app->tapValueButton(path));
    ASSERT_TRUE(app->typeText("3"));
    ASSERT_TRUE(app->pressAlertButton("Enter"));
    auto slider = std::dynamic_pointer_cast<PSSliderTableCell>(app->visiblePage()->table()->cellForRowAtIndexPath(path));
    ASSERT_TRUE(slider);
    EXPECT_FLOAT_EQ(slider->control()->value(), 3);
    ASSERT_TRUE(app->goBack());
    tap("Configuration");
    slider = std::dynamic_pointer_cast<PSSliderTableCell>(app->visiblePage()->table()->cellForRowAtIndexPath(rowOf("Corner radius")));
    ASSERT_TRUE(slider);
    EXPECT_FLOAT_EQ(slider->control()->value(), 3);
}

// A switch row stores its new value and posts the row's notification at once.
TEST_F(SimulatorFixture, SwitchRowStoresAndPosts) {
    open();
    const auto enabled = rowOf("Enabled");
    ASSERT_TRUE(app->toggleSwitch(enabled));
    EXPECT_EQ(stored("enabled"), PlistValue(false));
    ASSERT_EQ(events("notification").size(), 1u);
    EXPECT_EQ(events("notification")[0].field("name"), "com.mornvale.velkaro/ReloadPrefs");
    ASSERT_TRUE(app->toggleSwitch(enabled));
    EXPECT_EQ(stored("enabled"), PlistValue(true));
    EXPECT_EQ(events("notification").size(), 2u);
    // The value is in the file itself, where the tweak reads it.
    EXPECT_NE(readAll(preferencesFile()).find("<key>enabled</key>"), std::string::npos);
}

// A maker's row opens the profile in the first installed client, else on the web site, and the
// screen notes the address for three seconds.
TEST_F(SimulatorFixture, MakerOpensTheProfileInTheFirstInstalledClient) {
    struct Case {
        std::set<std::string> clients;
        const char* maker;
        std::string address;
    };
    const std::vector<Case> cases{
        {{"tweetbot"}, "skyvane", "tweetbot:///user_profile/skyvane_dev"},
        {{"aphelion", "tweetbot"}, "skyvane", "aphelion://profile/skyvane_dev"},
        {{"twitter"}, "skyvane", "twitter://user?screen_name=skyvane_dev"},
        {{"twitterrific", "tweetings"}, "skyvane", "twitterrific:///profile?screen_name=skyvane_dev"},
        {{"tweetings"}, "Quill", "tweetings:///user?screen_name=tq%20quill%40mv%231%262"},
        {{"tweetbot"}, "Zoë M", "tweetbot:///user_profile/Zo%C3%AB_M"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.address);
        options.installedSchemes = std::set<std::string>{"https", "http", "mailto"};
        options.installedSchemes->insert(c.clients.begin(), c.clients.end());
        open();
        tap("Makers");
        tap(c.maker);
        const auto opened = events("openURL");
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_EQ(opened[0].field("url"), c.address);
        EXPECT_EQ(app->note(), "Opened " + c.address);
        app->advance(2.9);
        EXPECT_TRUE(app->note());
        app->advance(0.2);
        EXPECT_FALSE(app->note());
        TearDown();
        SetUp();
    }
    // No client at all: the service's web site, over https, with the name as the path.
    options.installedSchemes = std::set<std::string>{"https"};
    open();
    tap("Makers");
    tap("skyvane");
    ASSERT_EQ(events("openURL").size(), 1u);
    const auto url = events("openURL")[0].field("url");
    EXPECT_EQ(url.rfind("https://", 0), 0u) << url;
    EXPECT_EQ(url.substr(url.size() - 12), "/skyvane_dev") << url;
}

// The support mail is written as a message with the preferences and the package list attached.
TEST_F(SimulatorFixture, SupportMailWritesAnEmlWithBothAttachments) {
    open();
    ASSERT_TRUE(app->toggleSwitch(rowOf("Hide volume slider")));  // so there are preferences to attach
    tap("Email Support");
    auto composer = std::dynamic_pointer_cast<MFMailComposeViewController>(app->presentedController());
    ASSERT_TRUE(composer);
    EXPECT_FALSE(app->tapRow(rowOf("Enabled"))) << "the page is covered by the composer";
    ASSERT_TRUE(app->finishMail(true));
    EXPECT_FALSE(app->presentedController());
    const auto mails = events("mail");
    ASSERT_EQ(mails.size(), 1u);
    const auto eml = host::DeviceRoot::resolve(mails[0].field("path"));
    ASSERT_TRUE(eml && std::filesystem::exists(*eml)) << mails[0].field("path");
    const std::string text = readAll(*eml);
    const auto prefs = text.find("VelkaroPrefs.plist"), packages = text.find("dpkgl.txt");
    ASSERT_NE(prefs, std::string::npos);
    ASSERT_NE(packages, std::string::npos);
    EXPECT_LT(prefs, packages) << "the preferences come first";
    EXPECT_NE(text.find("application/xml"), std::string::npos);
    EXPECT_NE(text.find("Subject: Velkaro Support"), std::string::npos);
    // A cancelled composer writes nothing more.
    tap("Email Support");
    ASSERT_TRUE(app->finishMail(false));
    EXPECT_EQ(events("mail").size(), 1u);
    EXPECT_FALSE(app->presentedController());
}

// The compose button opens the share sheet only when the device has an account for the service.
TEST_F(SimulatorFixture, ShareSheetShowsOnlyWithAnAccount) {
    for (bool account : {false, true}) {
        SCOPED_TRACE(account ? "with an account" : "without an account");
        options.twitterAccount = account;
        open();
        tap("Configuration");  // every page carries the button
        ASSERT_TRUE(app->tapRightBarButton());
        auto sheet = std::dynamic_pointer_cast<SLComposeViewController>(app->presentedController());
        EXPECT_EQ(bool(sheet), account);
        if (sheet) {
            EXPECT_EQ(sheet->text(), "#Velkaro is awesome!");
            EXPECT_FALSE(app->goBack()) << "the sheet is modal";
            ASSERT_TRUE(app->finishSheet(true));
            EXPECT_FALSE(app->presentedController());
            EXPECT_TRUE(app->goBack());
        }
        TearDown();
        SetUp();
    }
}
