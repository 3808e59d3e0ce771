// The two sub-pages (rows and localized title) and the share sheet behind the compose button of
// all three pages.
#include <gtest/gtest.h>

#include "host/Preferences/PSClassFactories.h"
#include "host/Preferences/PSRootController.h"
#include "host/Social/SLComposeViewController.h"
#include "host/Runtime/DeviceProfile.h"
#include "host/UIKit/UIBarButtonItem.h"
#include "pages/KXVelkaroListController.h"
#include "tests/support/DeviceFixture.h"

namespace {

const char* const kAllPages[] = {"VelkaroListController", "KXVelkaroConfigurationListController", "KXVelkaroMakersListController"};

class SubPagesTest : public DeviceFixture {
protected:
    // Created by class name, as the host opens a page row; the object must be of that class.
    static std::shared_ptr<KXVelkaroListController> makePage(const std::string& name) {
        auto page = std::dynamic_pointer_cast<KXVelkaroListController>(host::createController(name));
        EXPECT_TRUE(page && page->className() == name) << name;
        return page && page->className() == name ? page : nullptr;
    }
    // Shows the page as the host does and taps its compose button, the same on every page.
    std::shared_ptr<KXVelkaroListController> tapCompose(const std::string& name) {
        auto page = makePage(name);
        navigation = showPage(page);
        auto button = page->navigationItem()->rightBarButtonItem();
        EXPECT_TRUE(button && button->systemItem() == UIBarButtonSystemItemCompose) << name;
        if (button) button->tap();
        return page;
    }
    std::shared_ptr<PSRootController> navigation;
};

TEST_F(SubPagesTest, RowsLoadOnceAndTheTitleIsSetOnEveryCall) {
    // A row's name proves which list was loaded.
    const struct { const char *page, *firstRowName, *englishTitle; } cases[] = {
        {"KXVelkaroConfigurationListController", "Artwork offset", "Configuration"}, {"KXVelkaroMakersListController", "skyvane", "Makers"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.page);
        auto page = makePage(c.page);
        ASSERT_NE(page, nullptr);
        EXPECT_FALSE(page->title().has_value());
        auto rows = page->specifiers();
        ASSERT_TRUE(rows && !rows->empty());
        EXPECT_EQ(page->title(), c.englishTitle);
        bool found = false;
        for (const auto& row : *rows)
            found |= row->name() == c.firstRowName || row->propertyForKey("devName") == PlistValue(c.firstRowName);
        EXPECT_TRUE(found) << "rows of the wrong list";

        // A later call keeps the very same rows (no reload) but sets the title again.
        page->setTitle("something else");
        rows->front()->setName("marker");
        EXPECT_EQ(page->specifiers(), rows);
        EXPECT_EQ(std::tuple(rows->front()->name(), page->title()), std::tuple(std::optional<std::string>("marker"), std::optional<std::string>(c.englishTitle)));
    }
}

// Without an account the compose button does nothing; with one the share sheet opens from the page
// and closes at once, sent or cancelled.
TEST_F(SubPagesTest, ShareSheetOpensFromThePageOnlyWithAnAccountAndClosesAtOnceEitherWay) {
    for (const char* name : kAllPages) {
        SCOPED_TRACE(name);
        host::EventLog::shared().clear();
        host::DeviceProfile::mutableCurrent().hasTwitterAccount = false;
        EXPECT_EQ(tapCompose(name)->presentedViewController(), nullptr);
        EXPECT_TRUE(events("present").empty() && events("alert").empty());
        host::DeviceProfile::mutableCurrent().hasTwitterAccount = true;
        for (auto result : {SLComposeViewControllerResultDone, SLComposeViewControllerResultCancelled}) {
            SCOPED_TRACE(result == SLComposeViewControllerResultDone ? "sent" : "cancelled");
            host::EventLog::shared().clear();
            auto page = tapCompose(name);
            auto sheet = std::dynamic_pointer_cast<SLComposeViewController>(page->presentedViewController());
            ASSERT_NE(sheet, nullptr);
            EXPECT_EQ(std::tuple(sheet->serviceType(), sheet->text()), std::tuple(SLServiceTypeTwitter, std::string("#Velkaro is awesome!")));
            auto presented = events("present");
            ASSERT_EQ(presented.size(), 1u);
            EXPECT_EQ(std::tuple(presented[0].field("from"), presented[0].field("animated")), std::tuple(std::string(name), std::string("true")));

            // The user edits the text and finishes: the sheet goes at once, animated, and is freed.
            sheet->userEditText("edited by the user");
            std::weak_ptr<SLComposeViewController> weakSheet = sheet;
            ASSERT_TRUE(sheet->finish(result));
            sheet.reset();
            EXPECT_EQ(page->presentedViewController(), nullptr);
            auto dismissed = events("dismiss");
            ASSERT_EQ(dismissed.size(), 1u);
            EXPECT_EQ(std::tuple(dismissed[0].field("animated"), dismissed[0].time), std::tuple(std::string("true"), presented[0].time));
            EXPECT_TRUE(weakSheet.expired()) << "the sheet outlived its dismissal";
        }
    }
}

}  // namespace
