// The share sheet stand-in: availability from the device profile, and how a sheet ends.
#include "host/Social/SLComposeViewController.h"

#include "host/System/DeviceProfile.h"
#include "tests/support/DeviceFixture.h"

namespace {

using ShareSheetTest = DeviceFixture;

TEST_F(ShareSheetTest, AvailableOnlyForTheServiceWithAnAccount) {
    const struct {
        bool account;
        std::string service;
        bool available;
    } cases[] = {
        {true, SLServiceTypeTwitter, true},
        {false, SLServiceTypeTwitter, false},
        {true, "com.apple.social.facebook", false},
    };
    for (const auto& c : cases) {
        host::DeviceProfile::mutableCurrent().hasTwitterAccount = c.account;
        EXPECT_EQ(SLComposeViewController::isAvailableForServiceType(c.service), c.available) << c.service << c.account;
    }
    EXPECT_EQ(SLComposeViewController::composeViewControllerForServiceType("com.apple.social.facebook"), nullptr);
}

TEST_F(ShareSheetTest, SheetWithoutAHandlerClosesItself) {
    auto page = std::make_shared<UIViewController>();
    auto sheet = SLComposeViewController::composeViewControllerForServiceType(SLServiceTypeTwitter);
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->setInitialText("before"));
    EXPECT_FALSE(sheet->finish(SLComposeViewControllerResultDone)) << "not on screen yet";
    page->presentViewController(sheet, false, nullptr);
    EXPECT_FALSE(sheet->setInitialText("after"));
    ASSERT_TRUE(sheet->finish(SLComposeViewControllerResultDone));
    EXPECT_EQ(page->presentedViewController(), nullptr);
    const auto sheetEvents = events("sheet");
    ASSERT_EQ(sheetEvents.size(), 2u);
    EXPECT_EQ(sheetEvents[0].field("state"), "shown");
    EXPECT_EQ(sheetEvents[1].field("state"), "sent");
    EXPECT_EQ(sheetEvents[1].field("text"), "before");
}

TEST_F(ShareSheetTest, HandlerIsToldOnceWithTheResult) {
    auto page = std::make_shared<UIViewController>();
    auto sheet = SLComposeViewController::composeViewControllerForServiceType(SLServiceTypeTwitter);
    page->presentViewController(sheet, false, nullptr);
    std::vector<SLComposeViewControllerResult> results;
    sheet->setCompletionHandler([&results](SLComposeViewControllerResult result) { results.push_back(result); });
    ASSERT_TRUE(sheet->finish(SLComposeViewControllerResultCancelled));
    EXPECT_FALSE(sheet->finish(SLComposeViewControllerResultDone));
    EXPECT_EQ(results, std::vector<SLComposeViewControllerResult>{SLComposeViewControllerResultCancelled});
    EXPECT_EQ(page->presentedViewController(), sheet) << "with a handler, closing is the app's business";
    EXPECT_EQ(events("sheet").back().field("state"), "cancelled");
    page->dismissViewControllerAnimated(false, nullptr);
}

}  // namespace
