// The root page's support mail: the composer's content, where it shows, how it closes. (How the
// composer writes what it holds is checked with the composer.)
#include <gtest/gtest.h>

#include <filesystem>

#include "host/Preferences/PSClassFactories.h"
#include "host/MessageUI/MFMailComposeViewController.h"
#include "host/Preferences/PSRootController.h"
#include "host/Runtime/DeviceProfile.h"
#include "host/Runtime/DeviceRoot.h"
#include "pages/VelkaroListController.h"
#include "tests/support/DeviceFixture.h"

namespace {

constexpr const char* kPreferences = "/var/mobile/Library/Preferences/com.mornvale.velkaro.plist";
// Stored preferences as the device writes them (binary plist header, NULs, high bytes, CRLF).
const std::string kPreferenceBytes = std::string("bplist00\xd1\x01\x02TspeedV\x00\x01\x7f\x80\xfe\xff\r\nend", 28);

class SupportMailTest : public DeviceFixture {
protected:
    // Shows the root page and taps its "Email Support" row, as a user would.
    void tapEmailSupport() {
        if (!page) {
            page = std::dynamic_pointer_cast<VelkaroListController>(host::createController("VelkaroListController"));
            ASSERT_NE(page, nullptr);
            navigation = showPage(page);
        }
        for (const auto& section : page->table()->sections())
            for (const auto& row : section.rows)
                if (auto cell = std::dynamic_pointer_cast<PSTableCell>(row.cell); cell && cell->specifier() && cell->specifier()->action() == "emailKX")
                    return page->table()->selectRowAtIndexPath(row.indexPath);
        FAIL() << "no row sends emailKX";
    }
    std::shared_ptr<MFMailComposeViewController> composer() const {
        auto nav = page ? page->navigationController() : nullptr;
        return nav ? std::dynamic_pointer_cast<MFMailComposeViewController>(nav->presentedViewController()) : nullptr;
    }
    static std::string deviceFile(const std::string& devicePath) { return host::DeviceRoot::readFile(devicePath).value_or(""); }

    std::shared_ptr<VelkaroListController> page;
    std::shared_ptr<PSRootController> navigation;
};

// The composer holds the device, the stored preferences when there are any, and the device's own
// package listing, written afresh at every compose over a stale one, never appended to; it comes
// up on the navigation controller.
TEST_F(SupportMailTest, ComposerCarriesTheDeviceAndBothFilesAndComesUpOnTheNavigationController) {
    const struct { const char* profile; const char* body; const char* presenter; bool preferences; } cases[] = {
        {"iphone6", "\n\nCurrent Device: iPhone7,2, iOS 8.4 (12H143)", "UINavigationController", true},
        {"iphone6s", "\n\nCurrent Device: iPhone8,1, iOS 9.3.5 (13G36)", "PSRootController", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.profile);
        page.reset();
        useProfile(c.profile);
        if (c.preferences) writeFile(kPreferences, kPreferenceBytes);
        else std::filesystem::remove(hostPath(kPreferences));
        writeFile("/tmp/dpkgl.log", "stale listing from an earlier run\n");
        host::EventLog::shared().clear();
        tapEmailSupport();

        auto mail = composer();
        ASSERT_NE(mail, nullptr);
        const auto presented = events("present");
        ASSERT_EQ(presented.size(), 1u);
        EXPECT_EQ(std::tuple(presented[0].field("from"), presented[0].field("animated")), std::tuple(std::string(c.presenter), std::string("true")));

        const host::MailMessage& m = mail->message();
        EXPECT_EQ(std::tuple(m.subject, m.toRecipients, m.body, m.bodyIsHTML),
            std::tuple("Velkaro Support", std::vector<std::string>{"Mornvale <support@mornvale.com>"}, c.body, false));
        const std::string listing = deviceFile("/tmp/dpkgl.log");
        EXPECT_EQ(listing.rfind("Desired=", 0), 0u) << listing;
        // The preferences file (when there is one) and then the package listing, in that order.
        std::vector<std::tuple<std::string, std::string, std::string>> attached, expected{{"dpkgl.txt", "text/plain", listing}};
        if (c.preferences) expected.insert(expected.begin(), {"VelkaroPrefs.plist", "application/xml", kPreferenceBytes});
        for (const auto& a : m.attachments) attached.emplace_back(a.fileName, a.mimeType, a.data);
        EXPECT_EQ(attached, expected);
        ASSERT_TRUE(mail->cancel());
    }
}

// Sent and cancelled both close the composer, animated; without a mail account nothing comes up.
TEST_F(SupportMailTest, SentAndCancelledBothCloseTheComposerAnimatedAndWithoutAnAccountNoneComesUp) {
    for (auto finish : {&MFMailComposeViewController::send, &MFMailComposeViewController::cancel}) {
        host::EventLog::shared().clear();
        tapEmailSupport();
        std::weak_ptr<MFMailComposeViewController> weakMail = composer();
        ASSERT_FALSE(weakMail.expired());
        ASSERT_TRUE(((*weakMail.lock()).*finish)());
        EXPECT_EQ(composer(), nullptr);
        EXPECT_TRUE(weakMail.expired()) << "the composer outlived its dismissal";
        const auto dismissed = events("dismiss");
        ASSERT_EQ(dismissed.size(), 1u);
        EXPECT_EQ(dismissed[0].field("animated"), "true");
        EXPECT_TRUE(events("alert").empty());
    }
    host::DeviceProfile::mutableCurrent().hasMailAccount = false;
    host::EventLog::shared().clear();
    tapEmailSupport();
    EXPECT_EQ(composer(), nullptr);
    EXPECT_TRUE(events("present").empty());
}

}  // namespace
